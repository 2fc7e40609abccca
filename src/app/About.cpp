#include "About.h"

#include "Xlabel.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace ov {

namespace {

constexpr int BoxWidth = 320;
constexpr int BoxHeight = 208;
constexpr int HeaderHeight = 41;
constexpr int CardLeft = 66;
constexpr int CardTop = 72;
constexpr int CardRowHeight = 16;

const QColor Ground(0x1A, 0x1A, 0x1A);
const QColor Grey(0x99, 0x99, 0x99);

// A markup label that reports clicks and shows a hand over itself.
class TLinkLabel : public TXLabel {
public:
    TLinkLabel(std::function<void()> click, QWidget* parent)
        : TXLabel(parent), FClick(std::move(click)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            FClick)
            FClick();
    }

private:
    std::function<void()> FClick;
};

void Place(TXLabel* label, int left, int top, const QString& caption) {
    label->setGeometry(left, top, 10, CardRowHeight);
    label->SetCaption(caption);
}

QLabel* PlainLine(QWidget* parent, const QString& text, QColor color, const QFont& font,
                  int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QFrame* Rule(QWidget* parent, int top, int height, QFrame::Shadow shadow) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(shadow);
    line->setLineWidth(1);
    line->setGeometry(6, top, BoxWidth - 12, height);
    return line;
}

// The 50 x 58 picture of the card: a person's outline on a framed ground.
QPixmap MakerPicture() {
    QPixmap picture(50, 58);
    picture.fill(QColor(0x2A, 0x2A, 0x2A));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x80, 0xD0));
    painter.drawEllipse(QRectF(15, 8, 20, 20));
    QPainterPath shoulders;
    shoulders.moveTo(5, 58);
    shoulders.cubicTo(5, 36, 45, 36, 45, 58);
    painter.drawPath(shoulders);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, 49, 57);
    return picture;
}

} // namespace

QPixmap ProgramIconPixmap() {
    QPixmap icon(32, 32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x00, 0x00, 0x80), 1.5));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(5.5, 2.5, 21, 27), 2, 2);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    for (int y = 9; y <= 17; y += 4)
        painter.drawLine(QPointF(9, y), QPointF(22, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0x33, 0x00));
    painter.drawEllipse(QRectF(14, 18, 13, 13));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(17.5, 21.5, 6, 6));
    return icon;
}

TfAbout::TfAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("프로그램 정보"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(BoxWidth, BoxHeight);
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(12);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Ground);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    CreateHeader();
    CreateCard();
    CreateNotices();
}

void TfAbout::CreateHeader() {
    auto* header = new QWidget(this);
    header->setGeometry(0, 0, BoxWidth, HeaderHeight);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    header->setPalette(palette);
    header->setAutoFillBackground(true);
    auto* icon = new QLabel(header);
    // The installed program's icon where the desktop has it; otherwise a
    // drawn one of the same idea.
    QPixmap picture = QApplication::windowIcon().pixmap(32, 32);
    icon->setPixmap(picture.isNull() ? ProgramIconPixmap() : picture);
    icon->setGeometry(6, 4, 32, 32);
    QFont small(QStringLiteral("Tahoma"));
    small.setPixelSize(11); // 8 points
    PlainLine(header, QStringLiteral("텍스트 뷰어 (문법 강조 기능 지원)"), Grey, small, 46, 4);
    XLabel1 = new TXLabel(header);
    Place(XLabel1, 46, 20,
          QStringLiteral("<b><c000080>Or</c><cFF3300>vane</c></b> <c999999>1.0</c> Beta"));
    Rule(this, HeaderHeight, 2, QFrame::Sunken)->setGeometry(0, HeaderHeight, BoxWidth, 2);
}

void TfAbout::CreateCard() {
    QFont bold = font();
    bold.setBold(true);
    PlainLine(this, QStringLiteral("프로그래머"), Qt::white, bold, 8, 51);
    auto* picture = new QLabel(this);
    picture->setPixmap(MakerPicture());
    picture->setGeometry(8, CardTop - 2, 50, 58);
    const QString key = QStringLiteral("<b><c2080D0>%1</c></b> : %2");
    XLabel2 = new TXLabel(this);
    Place(XLabel2, CardLeft, CardTop, key.arg(QStringLiteral("이름"), QStringLiteral("Orvane 개발팀")));
    XLabel3 = new TLinkLabel([this] { XLabel3Click(); }, this);
    Place(XLabel3, CardLeft, CardTop + CardRowHeight,
          key.arg(QStringLiteral("전자우편"), QStringLiteral("orvane@orvane.example.org")));
    XLabel4 = new TLinkLabel([this] { XLabel4Click(); }, this);
    Place(XLabel4, CardLeft, CardTop + 2 * CardRowHeight,
          key.arg(QStringLiteral("홈페이지"), QStringLiteral("orvane.example.org")));
    XLabel5 = new TXLabel(this);
    Place(XLabel5, CardLeft, CardTop + 3 * CardRowHeight,
          key.arg(QStringLiteral("메신저"), QStringLiteral("@orvane:example.org")));
}

void TfAbout::CreateNotices() {
    Rule(this, 140, 1, QFrame::Plain)->setStyleSheet(QStringLiteral("color: #808080"));
    PlainLine(this, QStringLiteral("잘못된 점이나 바라는 점은 전자우편으로 알려 주세요."), Grey,
              font(), 8, 152);
    PlainLine(this, QStringLiteral("이 프로그램은 공개 프로그램입니다!!!"), Grey, font(), 8, 176);
}

void TfAbout::XLabel3Click() {
    if (OnOpenMail)
        OnOpenMail();
}

void TfAbout::XLabel4Click() {
    if (OnOpenHomepage)
        OnOpenHomepage();
}

} // namespace ov
