// The menu tree of the main window, built from one table.

#include "Main.h"

#include "Qtcodepage.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace ov {

namespace {

enum TItemFlags : unsigned {
    ifNone = 0,
    ifDisabled = 1,
    ifHidden = 2,    // the menu itself is hidden (its title in the bar)
    ifCheckable = 4, // shows a mark, which UpdateActions sets
    ifRadio = 8,     // a mark of the language group, which UpdateActions sets
};

using TClick = void (TMainForm::*)();
using TTaggedClick = void (TMainForm::*)(int);

// One row of the tree. Depth 0 is a menu of the bar, 1 an item of it, 2 an
// item of the submenu above. A row with Menu set is a (sub)menu; its
// OnPopup runs each time it opens. Caption "-" is a separator. BookmarkKeys
// fills a submenu with the ten bookmark items.
struct TMenuRow {
    int Depth;
    const char* Caption;
    QAction* TMainMenus::*Item;
    QMenu* TMainMenus::*Menu;
    const char* Shortcut;
    TClick Click;
    TClick OnPopup;
    unsigned Flags;
    const char* BookmarkKeys;
    TTaggedClick BookmarkClick;
};

constexpr TMenuRow Separator(int depth) {
    return {depth, "-", nullptr, nullptr, nullptr, nullptr, nullptr, ifNone, nullptr, nullptr};
}

constexpr TMenuRow Menu(int depth, const char* caption, QMenu* TMainMenus::*menu,
                        TClick onPopup = nullptr, unsigned flags = ifNone) {
    return {depth, caption, nullptr, menu, nullptr, nullptr, onPopup, flags, nullptr, nullptr};
}

constexpr TMenuRow Item(int depth, const char* caption, QAction* TMainMenus::*item,
                        const char* shortcut, TClick click, unsigned flags = ifNone) {
    return {depth, caption, item, nullptr, shortcut, click, nullptr, flags, nullptr, nullptr};
}

constexpr TMenuRow BookmarkMenu(const char* caption, QMenu* TMainMenus::*menu, TClick onPopup,
                                const char* keys, TTaggedClick click) {
    return {1, caption, nullptr, menu, nullptr, nullptr, onPopup, ifNone, keys, click};
}

using F = TMainForm;
using M = TMainMenus;

const TMenuRow MainMenuRows[] = {
    Menu(0, "파일(&F)", &M::File1),
    Item(1, "열기(&O)", &M::Open1, "Ctrl+O", &F::Open1Click),
    Item(1, "닫기(&C)", &M::Close1, "Ctrl+F4", &F::Close1Click, ifDisabled),
    Separator(1),
    Item(1, "&HTML로 저장", &M::SaveasHTML1, "Alt+M", &F::SaveasHTML1Click, ifDisabled),
    Separator(1),
    Item(1, "새로고침(&R)", &M::Refresh1, "F5", &F::Refresh1Click, ifDisabled),
    Separator(1),
    Item(1, "종료(&X)", &M::Exit1, "Alt+X", &F::Exit1Click),

    Menu(0, "편집(&E)", &M::Edit1, &F::Edit1Click, ifHidden),
    Item(1, "복사(&C)", &M::Copy1, "Ctrl+C", &F::Copy1Click),
    Item(1, "전체 복사(&A)", &M::CopyAll1, "Ctrl+A", &F::CopyAll1Click),
    Separator(1),
    Item(1, "줄 찾아가기(&G)", &M::GotoLine1, "Alt+G", &F::GotoLine1Click),
    Separator(1),
    BookmarkMenu("책갈피 지정(&T)", &M::ToggleBookmarks1, &F::ToggleBookmarks1Click, "Ctrl+",
                 &F::ToggleBookmarkClick),
    BookmarkMenu("책갈피 찾아가기(&B)", &M::GotoBookmarks1, &F::GotoBookmarks1Click, "",
                 &F::GotoBookmarkClick),
    Item(1, "책갈피 보기(&S)", &M::ShowBookmarks1, "B", &F::ShowBookmarks1Click, ifCheckable),
    Separator(1),
    Item(1, "찾기(&F)", &M::Find1, "Ctrl+F", &F::Find1Click),
    Item(1, "다음 찾기(&N)", &M::FindNext1, "F3", &F::FindNext1Click),
    Item(1, "이전 찾기(&P)", &M::FindPrevious1, "Shift+F3", &F::FindPrevious1Click),
    Item(1, "입력하며 찾기(&I)", &M::SearchBar1, "/", &F::SearchBar1Click),
    Item(1, "일치하는 줄 목록(&L)", &M::MatchList1, "Ctrl+Shift+F", &F::MatchList1Click,
         ifCheckable),

    Menu(0, "보기(&V)", &M::View1, &F::View1Click),
    Item(1, "워드랩(&W)", &M::WordWrap1, "Ctrl+W", &F::WordWrap1Click, ifCheckable),
    Item(1, "줄번호 보기(&S)", &M::ShowLineNumber1, "Ctrl+S", &F::ShowLineNumber1Click,
         ifCheckable),
    Item(1, "윈도우 글꼴 사용(&F)", &M::UseFont1, "Ctrl+B", &F::UseFont1Click),
    Separator(1),
    Menu(1, "자동 스크롤(&A)", &M::AutoScroll1),
    Item(2, "자동 스크롤(&A)", &M::AutoScroll2, "Space", &F::AutoScroll2Click, ifCheckable),
    Separator(2),
    Item(2, "스크롤 속도 빠르게(&S)", &M::IncreaseSpeed1, "X", &F::IncreaseSpeed1Click),
    Item(2, "스크롤 속도 느리게(&D)", &M::DecreaseSpeed1, "Z", &F::DecreaseSpeed1Click),
    Separator(1),
    Item(1, "헥스 보기(&H)", &M::HexView1, "Ctrl+H", &F::HexView1Click, ifCheckable),
    Item(1, "끝 따라가기(&L)", &M::Follow1, "Ctrl+T", &F::Follow1Click, ifCheckable),
    Menu(1, "인코딩(&E)", &M::Encoding1, nullptr, ifDisabled),
    Item(2, "자동 감지(&A)", &M::AutoDetect1, nullptr, &F::AutoDetect1Click, ifCheckable),
    Separator(2), // the grouped encodings follow (CreateEncodingItems)
    Separator(1),
    Item(1, "윈도우 투명하게(&O)", &M::WindowOpacity1, nullptr, &F::WindowOpacity1Click),
    Separator(1),
    Menu(1, "문법 강조(&X)", &M::SyntaxHighlighting1, &F::SyntaxHighlighting1Click, ifDisabled),
    Item(2, "사용 안함(&N)", &M::None1, nullptr, nullptr, ifRadio),
    Separator(2),

    Menu(0, "도구(&T)", &M::Tools1),
    Item(1, "최근 파일 목록 지우기(&R)", &M::ClearRecentFiels1, nullptr,
         &F::ClearRecentFiels1Click),
    Item(1, "찾기 히스토리 지우기(&F)", &M::ClearFindHistory1, nullptr, &F::ClearFindHistory1Click),
    Separator(1),
    Item(1, "옵션(&O)...", &M::Options1, nullptr, &F::Options1Click),

    Menu(0, "도움말(&H)", &M::Help1),
    Item(1, "새 언어 추가하기", &M::HowtoAddLanguage1, nullptr, &F::HowtoAddLanguage1Click),
    Item(1, "키보드 단축키 안내", &M::Shortcuts1, nullptr, &F::Shortcuts1Click),
    Separator(1),
    Item(1, "홈페이지 가기", &M::VisitHomepage1, nullptr, &F::VisitHomepage1Click),
    Item(1, "이메일 쓰기", &M::SendEmail1, nullptr, &F::SendEmail1Click),
    Separator(1),
    Item(1, "프로그램 정보(&A)...", &M::About1, nullptr, &F::About1Click),
};

const TMenuRow PopupMenuRows[] = {
    Item(1, "복사(&C)", &M::Copy2, nullptr, &F::Copy1Click),
    Item(1, "전체 복사(&A)", &M::CopyAll2, nullptr, &F::CopyAll1Click),
    Separator(1),
    Item(1, "열기(&O)", &M::Open2, nullptr, &F::Open1Click),
    Item(1, "닫기(&S)", &M::Close2, nullptr, &F::Close1Click, ifDisabled),
};

} // namespace

int ItemTag(const QAction* item) {
    return item ? item->data().toInt() : 0;
}

void TMainForm::CreateMenus() {
    menuBar()->setNativeMenuBar(false);
    FMenus.SynLangGroup = new QActionGroup(this);
    // At most one mark; none while the view's language has no item.
    FMenus.SynLangGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    // The menu open at each depth; rows of depth d go into parents[d - 1].
    std::array<QMenu*, 3> parents{};
    for (const TMenuRow& row : MainMenuRows) {
        QMenu* parent = row.Depth > 0 ? parents[static_cast<size_t>(row.Depth - 1)] : nullptr;
        if (row.Menu) {
            QMenu* menu = row.Depth == 0 ? menuBar()->addMenu(QString::fromUtf8(row.Caption))
                                         : parent->addMenu(QString::fromUtf8(row.Caption));
            FMenus.*row.Menu = menu;
            parents[static_cast<size_t>(row.Depth)] = menu;
            connect(menu, &QMenu::aboutToShow, this, row.OnPopup ? row.OnPopup : &F::UpdateActions);
            menu->menuAction()->setEnabled(!(row.Flags & ifDisabled));
            menu->menuAction()->setVisible(!(row.Flags & ifHidden));
            if (row.BookmarkKeys)
                AddBookmarkItems(menu, row.BookmarkKeys, row.BookmarkClick);
            continue;
        }
        if (std::string_view(row.Caption) == "-") {
            parent->addSeparator();
            continue;
        }
        QAction* item = parent->addAction(QString::fromUtf8(row.Caption));
        FMenus.*row.Item = item;
        if (row.Shortcut)
            item->setShortcut(QKeySequence(QString::fromLatin1(row.Shortcut)));
        item->setEnabled(!(row.Flags & ifDisabled));
        item->setCheckable(row.Flags & (ifCheckable | ifRadio));
        if (row.Flags & ifRadio)
            FMenus.SynLangGroup->addAction(item);
        if (row.Click)
            connect(item, &QAction::triggered, this,
                    [this, click = row.Click] { RunCommand([&] { (this->*click)(); }); });
    }
    connect(FMenus.None1, &QAction::triggered, this,
            [this] { RunCommand([&] { SynLangClick(FMenus.None1); }); });
    CreateEncodingItems();
    CreatePopupMenu();
}

void TMainForm::CreateEncodingItems() {
    QMenu* group = nullptr;
    std::optional<TEncodingGroup> groupOf;
    for (const TEncodingInfo& info : AllEncodings()) {
        if (info.Encoding == TFileEncoding::Utf8Bom)
            continue;
        if (info.Group != groupOf) {
            groupOf = info.Group;
            // Access keys by the groups' English names, in TEncodingGroup order.
            static constexpr char Keys[] = "KUJCWERGTHIBV";
            const char key = Keys[static_cast<int>(info.Group)];
            group = FMenus.Encoding1->addMenu(QString::fromUtf8(EncodingGroupName(info.Group)) +
                                              QStringLiteral("(&%1)").arg(QChar(key)));
        }
        QAction* item = group->addAction(QString::fromUtf8(info.Name));
        item->setCheckable(true);
        item->setData(static_cast<int>(info.Encoding));
        FMenus.EncodingItems.push_back(item);
        if (info.Encoding == TFileEncoding::Cp949)
            FMenus.Cp9491 = item;
        else if (info.Encoding == TFileEncoding::Utf8)
            FMenus.Utf81 = item;
        connect(item, &QAction::triggered, this, [this, encoding = info.Encoding] {
            RunCommand([&] { SetCodingChoice(encoding); });
        });
    }
}

void TMainForm::CreatePopupMenu() {
    FMenus.PopupMenu1 = new QMenu(this);
    FMenus.PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(FMenus.PopupMenu1, &QMenu::aboutToShow, this, &TMainForm::PopupMenu1Popup);
    for (const TMenuRow& row : PopupMenuRows) {
        if (std::string_view(row.Caption) == "-") {
            FMenus.PopupMenu1->addSeparator();
            continue;
        }
        QAction* item = FMenus.PopupMenu1->addAction(QString::fromUtf8(row.Caption));
        FMenus.*row.Item = item;
        item->setEnabled(!(row.Flags & ifDisabled));
        connect(item, &QAction::triggered, this,
                [this, click = row.Click] { RunCommand([&] { (this->*click)(); }); });
    }
}

void TMainForm::AddBookmarkItems(QMenu* menu, const char* shortcutPrefix,
                                 void (TMainForm::*click)(int)) {
    for (int tag = 0; tag < BookmarkCount; ++tag) {
        QAction* item = menu->addAction(QStringLiteral("책갈피 &%1").arg(tag));
        item->setData(tag);
        item->setCheckable(true);
        item->setShortcut(QKeySequence(QString::fromLatin1(shortcutPrefix) + QString::number(tag)));
        connect(item, &QAction::triggered, this,
                [this, click, tag] { RunCommand([&] { (this->*click)(tag); }); });
    }
}

QAction* TMainForm::AddLanguageItem(const std::string& name) {
    QAction* item = FMenus.SyntaxHighlighting1->addAction(QStringFromAnsi(name));
    item->setCheckable(true);
    FMenus.SynLangGroup->addAction(item);
    connect(item, &QAction::triggered, this,
            [this, item] { RunCommand([&] { SynLangClick(item); }); });
    return item;
}

} // namespace ov
