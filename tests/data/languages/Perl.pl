#!/usr/bin/perl
# logstat.pl - count HTTP status codes and busiest hosts in an access log.
use strict;
use warnings;
use Getopt::Long;

my $top  = 5;
my $file = 'access.log';
GetOptions('top=i' => \$top, 'file=s' => \$file) or die "bad options\n";

my (%status, %hosts);
my @errors;

open(my $fh, '<', $file) or die "cannot open $file: $!";
while (my $line = <$fh>) {
    chomp $line;
    my @field = split ' ', $line;
    next unless @field > 8 and $field[8] =~ m/^\d{3}$/;
    my ($host, $code) = @field[0, 8];
    $status{$code}++;
    $hosts{$host} += 1;
    push @errors, $line if $code >= 500;
}
close $fh;

printf "%-6s %8s\n", 'code', 'count';
for my $code (sort { $a <=> $b } keys %status) {
    printf "%-6s %8d\n", $code, $status{$code};
}

my @busiest = (sort { $hosts{$b} <=> $hosts{$a} } keys %hosts)[0 .. $top - 1];
print "busiest: @busiest\n" if @busiest;
print scalar(@errors), " server errors, ratio ", sprintf('%.3f', @errors / ($. || 1)), "\n";

=pod

=head1 USAGE

  logstat.pl --file access.log --top 10

=cut

exit 0;
