#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>

#include <functional>

#include "ui/desktop_shell.h"
#include "ui/link_label_logic.h"

namespace rq508 {

// A static text turned into a web link: underlined, in link colours, as large as its text, with
// a hand pointer and the address as tooltip. A click opens the address through the desktop; a
// failure beeps and shows a warning. The label never takes the keyboard focus.
class CLinkLabel : public QLabel {
    Q_OBJECT
public:
    // Shows the warning of a failed open; the real one is a message box with the warning icon.
    using WarningPrompt = std::function<void(const QString& caption, const QString& text)>;

    explicit CLinkLabel(DesktopShell& desktop, QWidget* parent = nullptr);

    // Before attachment only: the address a click opens (empty: the label's text).
    void SetTargetUrl(const QString& address) { m_targetUrl = address; }
    void SetWarningPrompt(WarningPrompt prompt) { m_warningPrompt = std::move(prompt); }

    // Makes the label a link once it has its text, font and place in the dialog: the address
    // and the text fill each other, the font is underlined and the label fits its text.
    void Attach();

    void OnLinkClicked();
    void MarkVisited(bool visited);
    void FitToText();

    const QString& TargetUrl() const { return m_targetUrl; }
    bool Visited() const { return m_visited; }
    bool PointerInside() const { return m_pointerInside; }
    // The colour the text takes at the next repaint, and the one it was last painted in.
    QColor TextColor() const;
    QColor PaintedColor() const { return m_paintedColor; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnMouseMove(const QPoint& position);
    void ReportOpenError(int code);
    void LeaveHover();

    LinkColors m_colors;
    bool m_pointerInside = false;
    bool m_visited = false;
    bool m_underline = true;
    bool m_fitToText = true;
    QString m_targetUrl;
    QFont m_linkFont;
    DesktopShell& m_desktop;
    WarningPrompt m_warningPrompt;
    QColor m_paintedColor;
};

}  // namespace rq508
