#pragma once
// A stand-in for the text view: a plain framed widget with the members that
// the main window uses of the real control, under the same names, so that
// the window and its tests run before the control exists. Main.h picks the
// view type through an alias; replacing the alias by the real control is
// the whole change.

#include <QColor>
#include <QFrame>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ov {

// Holds the view switches and colours it is given and paints its
// background; shows no text (TopIndex stays -1, RowCount 0).
class TTextViewerStandIn : public QFrame {
public:
    explicit TTextViewerStandIn(QWidget* parent = nullptr);

    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }
    bool ShowLineNum() const { return FShowLineNum; }
    void SetShowLineNum(bool value) { FShowLineNum = value; }
    bool UseBitmapFont() const { return FUseBitmapFont; }
    void SetUseBitmapFont(bool value) { FUseBitmapFont = value; }

    QColor BackColor() const { return FBackColor; }
    void SetBackColor(const QColor& color);
    QColor ForeColor() const { return FForeColor; }
    void SetForeColor(const QColor& color) { FForeColor = color; }

    int TopIndex() const { return -1; }
    int RowCount() const { return 0; }
    const std::string& SynLang() const { return FSynLang; }
    void SetSynLang(const std::string& name) { FSynLang = name; }

    std::function<void(TTextViewerStandIn* sender)> OnTopIndexChanged;
    std::function<void(TTextViewerStandIn* sender, const std::vector<std::string>& files)>
        OnDropFiles;
    std::function<void(TTextViewerStandIn* sender, int key, Qt::KeyboardModifiers shift)> OnKeyDown;
    std::function<void(TTextViewerStandIn* sender)> OnDblClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ApplyBackColor(const QColor& color);

    bool FWordWrap = false;
    bool FShowLineNum = true;
    bool FUseBitmapFont = true;
    QColor FBackColor;
    QColor FForeColor;
    std::string FSynLang;
};

} // namespace ov
