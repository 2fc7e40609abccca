program BankAccounts;

{$mode objfpc}{$H+}
uses
  SysUtils, Classes;

type
  { An account with a balance in cents, so sums stay exact. }
  TAccount = class
  private
    FOwner: string;
    FBalance: Int64;
  public
    constructor Create(const AOwner: string);
    procedure Deposit(Cents: Int64);
    function Withdraw(Cents: Int64): Boolean; virtual;
    property Owner: string read FOwner;
    property Balance: Int64 read FBalance;
  end;

const
  MaxWithdrawal = 100000;  // 1000.00 in cents
  Currency_Sign = '$';

constructor TAccount.Create(const AOwner: string);
begin
  inherited Create;
  FOwner := AOwner;
  FBalance := 0;
end;

procedure TAccount.Deposit(Cents: Int64);
begin
  if Cents <= 0 then
    raise EArgumentException.Create('Deposit must be positive');
  Inc(FBalance, Cents);
end;

function TAccount.Withdraw(Cents: Int64): Boolean;
begin
  Result := (Cents <= FBalance) and (Cents <= MaxWithdrawal);
  if Result then
    Dec(FBalance, Cents);
end;

var
  Acc: TAccount;
  I: Integer;
begin
  Acc := TAccount.Create('Kim''s savings');
  try
    for I := 1 to 3 do
      Acc.Deposit(I * 2500);
    (* withdraw more than allowed on purpose *)
    if not Acc.Withdraw($30000) then
      WriteLn('Refused; balance is ', Acc.Balance div 100, Currency_Sign, #13#10, 'ok');
  finally
    FreeAndNil(Acc);
  end;
end.
