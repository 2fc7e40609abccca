// The controls of the options dialog and where they stand. Controls that a
// group box frames are children of the page, not of the box: the box's
// caption colour must not reach their texts.

#include "Options.h"

#include "Colorswatch.h"
#include "Xlabel.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpgroupbox.h"
#include "Xpspinedit.h"

#include <QTabWidget>

namespace ov {

namespace {

// Group box captions: red 18, green 122, blue 237.
const QColor GroupCaptionColor(18, 122, 237);
constexpr int LabelHeight = 17;
constexpr int FieldHeight = 21;
constexpr int SwatchWidth = 50;
constexpr int SwatchHeight = 18;

// Places controls on one page, at positions relative to an origin (the page
// itself or a group box on it).
class TPageBuilder {
public:
    // The page is painted in the dialog's colour, which the group boxes
    // fill their corners with, rather than in the tab pane's own.
    explicit TPageBuilder(QWidget* page) : FPage(page) { FPage->setAutoFillBackground(true); }

    QWidget* Page() const { return FPage; }

    void Group(const char* caption, int x, int y, int width, int height) {
        auto* group = new TXPGroupBox(QString::fromUtf8(caption), FPage);
        QPalette palette = group->palette();
        palette.setColor(QPalette::WindowText, GroupCaptionColor);
        group->setPalette(palette);
        group->setGeometry(x, y, width, height);
        FOrigin = QPoint(x, y);
    }
    void NoGroup() { FOrigin = QPoint(0, 0); }

    // A label whose text is vertically centred on a field placed at y.
    TXLabel* Label(const char* caption, int x, int fieldY) {
        auto* label = new TXLabel(FPage);
        label->setGeometry(QRect(At(x, fieldY + (FieldHeight - LabelHeight) / 2), QSize(10, LabelHeight)));
        label->SetCaption(QString::fromUtf8(caption));
        return label;
    }

    TXPSpinEdit* Spin(int x, int y, int width, TValueRange range, bool typing) {
        auto* spin = new TXPSpinEdit(FPage);
        spin->SetMinValue(range.Min);
        spin->SetMaxValue(range.Max);
        spin->SetEditorEnabled(typing);
        spin->setGeometry(QRect(At(x, y), QSize(width, FieldHeight)));
        return spin;
    }

    TXPComboBox* List(int x, int y, int width) {
        auto* list = new TXPComboBox(FPage);
        list->setGeometry(QRect(At(x, y), QSize(width, FieldHeight)));
        return list;
    }

    TColorSwatch* Swatch(int x, int y) {
        auto* swatch = new TColorSwatch(FPage);
        swatch->setGeometry(QRect(At(x, y + (FieldHeight - SwatchHeight) / 2),
                                  QSize(SwatchWidth, SwatchHeight)));
        return swatch;
    }

    QPoint At(int x, int y) const { return FOrigin + QPoint(x, y); }

private:
    QWidget* FPage;
    QPoint FOrigin;
};

} // namespace

void TfOptions::CreatePages() {
    PageControl = new QTabWidget(this);
    PageControl->setGeometry(5, 6, 385, 281);
    PageControl->addTab(CreateViewPage(), QStringLiteral("보기"));
    PageControl->addTab(CreateOtherPage(), QStringLiteral("기타"));
    PageControl->addTab(CreateColorPage(), QStringLiteral("색"));
}

QWidget* TfOptions::CreateViewPage() {
    TPageBuilder page(new QWidget);
    page.Label("윗여백:", 12, 12);
    TopMargin = page.Spin(84, 12, 56, TopMarginRange, false);
    page.Label("px", 146, 12);
    page.Label("왼쪽 여백:", 196, 12);
    LeftMargin = page.Spin(268, 12, 56, LeftMarginRange, false);
    page.Label("px", 330, 12);
    page.Label("줄 간격:", 12, 42);
    LineSpace = page.Spin(84, 42, 56, LineSpaceRange, false);
    page.Label("px", 146, 42);
    page.Label("탭 넓이:", 196, 42);
    TabWidth = page.Spin(268, 42, 56, TabWidthRange, false);
    page.Label("공백", 330, 42);

    page.Group("윈도우 글꼴", 8, 76, 361, 60);
    FontName = page.Label("", 14, 26);
    FontName->SetAutoSize(false);
    FontName->resize(150, LabelHeight);
    page.Label("글꼴크기:", 172, 26);
    FontSize = page.Label("", 232, 26);
    FontSize->SetAutoSize(false);
    FontSize->resize(36, LabelHeight);
    bChange = new TXPButton(QStringLiteral("변경"), page.Page());
    bChange->setGeometry(QRect(page.At(278, 24), QSize(70, 25)));
    bChange->setAutoDefault(false);
    connect(bChange, &QPushButton::clicked, this, &TfOptions::bChangeClick);

    page.Group("비트맵 글꼴", 8, 146, 361, 92);
    page.Label("한글", 14, 24);
    FontKOR = page.List(74, 24, 96);
    page.Label("영어", 190, 24);
    FontENG = page.List(250, 24, 96);
    page.Label("특수문자", 14, 56);
    FontSPC = page.List(74, 56, 96);
    page.Label("KSG", 190, 56);
    FontKSG = page.List(250, 56, 96);
    return page.Page();
}

QWidget* TfOptions::CreateOtherPage() {
    TPageBuilder page(new QWidget);
    page.Group("ESC 키 기능", 8, 8, 361, 60);
    ESCKey = page.List(14, 26, 160);
    ESCKey->addItems({QStringLiteral("선택해제"), QStringLiteral("윈도우 최소화"),
                      QStringLiteral("종료")});

    page.Group("휠 스크롤", 8, 78, 361, 60);
    Wheel = page.Spin(14, 26, 60, WheelRange, false);
    page.Label("줄", 80, 26);

    page.Group("자동 스크롤 속도", 8, 148, 361, 60);
    AutoScroll = page.Spin(14, 26, 90, AutoScrollRange, true);
    page.Label("1000 = 1 초", 112, 26);

    page.Group("바뀐 파일", 8, 214, 361, 36);
    ReloadOnChange =
        new TXPCheckBox(QStringLiteral("다른 프로그램이 바꾼 파일을 다시 읽기"), page.Page());
    ReloadOnChange->setGeometry(QRect(page.At(14, 16), QSize(300, LabelHeight)));
    return page.Page();
}

QWidget* TfOptions::CreateColorPage() {
    TPageBuilder page(new QWidget);
    page.Group("기본 색", 8, 4, 361, 104);
    page.Label("글씨", 14, 20);
    ColorText = page.Swatch(100, 20);
    page.Label("배경", 190, 20);
    ColorBack = page.Swatch(280, 20);
    page.Label("줄번호", 14, 46);
    ColorLineNum = page.Swatch(100, 46);
    page.Label("줄번호 배경", 190, 46);
    ColorLineBack = page.Swatch(280, 46);
    page.Label("찾은 글 표시", 14, 72);
    ColorMatch = page.Swatch(100, 72);
    for (TColorSwatch* swatch : {ColorText, ColorBack, ColorLineNum, ColorLineBack, ColorMatch})
        swatch->OnMouseUp = [this](TColorSwatch* sender) { ColorTextMouseUp(sender); };

    page.Group("문법 강조", 8, 112, 361, 134);
    SynHighlighting = new TXPCheckBox(QStringLiteral("문법 강조 기능 사용"), page.Page());
    SynHighlighting->setGeometry(QRect(page.At(14, 20), QSize(220, LabelHeight)));
    page.Label("언어:", 14, 44);
    Language = page.List(80, 44, 160);
    page.Label("색 그룹:", 14, 72);
    ColorGroup = page.List(80, 72, 160);
    page.Label("글씨 색", 14, 102);
    SynColorText = page.Swatch(80, 102);
    page.Label("배경 색", 190, 102);
    SynColorBack = page.Swatch(250, 102);
    SynColorText->OnMouseUp = [this](TColorSwatch*) { SynColorTextMouseUp(); };
    SynColorBack->OnMouseUp = [this](TColorSwatch*) { SynColorBackMouseUp(); };
    connect(Language, &QComboBox::currentIndexChanged, this, [this] { LanguageChange(); });
    connect(ColorGroup, &QComboBox::currentIndexChanged, this, [this] { ColorGroupChange(); });
    return page.Page();
}

void TfOptions::CreateButtons() {
    auto make = [this](const char* caption, int x) {
        auto* button = new TXPButton(QString::fromUtf8(caption), this);
        button->setGeometry(x, 292, 75, 23);
        return button;
    };
    bApply = make("적용", 154);
    bOK = make("확인", 235);
    bCancel = make("취소", 316);
    bApply->setAutoDefault(false);
    bCancel->setAutoDefault(false);
    bOK->setDefault(true);
    connect(bApply, &QPushButton::clicked, this, &TfOptions::bApplyClick);
    connect(bOK, &QPushButton::clicked, this, &TfOptions::bOKClick);
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace ov
