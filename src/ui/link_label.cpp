#include "ui/link_label.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include "ui/hyperlink_command.h"

namespace rq508 {
namespace {

Rgb ToRgb(const QColor& color) {
    return static_cast<Rgb>(color.rgb()) & 0xFFFFFFu;
}

QColor ToColor(Rgb rgb) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
}

void ShowWarningBox(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

CLinkLabel::CLinkLabel(DesktopShell& desktop, QWidget* parent)
    : QLabel(parent), m_desktop(desktop) {
    // The desktop's highlight colour as it is now; a later change of theme does not follow.
    m_colors.hover = ToRgb(palette().color(QPalette::Active, QPalette::Highlight));
    m_warningPrompt = [this](const QString& caption, const QString& text) {
        ShowWarningBox(window(), caption, text);
    };
    setTextFormat(Qt::PlainText);  // an address is shown as it is, never as markup
    setFocusPolicy(Qt::NoFocus);
    // Pointer movements arrive without a button held, as the hover colour needs.
    setMouseTracking(true);
}

void CLinkLabel::Attach() {
    if (m_targetUrl.isEmpty()) {
        m_targetUrl = text();
    }
    if (text().isEmpty()) {
        setText(m_targetUrl);
    }
    m_linkFont = font();
    m_linkFont.setUnderline(m_underline);
    setFont(m_linkFont);
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_targetUrl);
}

void CLinkLabel::FitToText() {
    if (!m_fitToText) {
        return;
    }
    const QFontMetrics metrics(m_linkFont);
    const QRect current = geometry();  // in the parent's coordinates already
    LabelAlignment horizontal = LabelAlignment::Left;
    if (alignment() & Qt::AlignHCenter) {
        horizontal = LabelAlignment::Center;
    } else if (alignment() & Qt::AlignRight) {
        horizontal = LabelAlignment::Right;
    }
    const EdgeRect fitted =
        FitRectToText({current.left(), current.top(), current.left() + current.width(),
                       current.top() + current.height()},
                      metrics.horizontalAdvance(text()), metrics.height(), horizontal,
                      (alignment() & Qt::AlignVCenter) != 0);
    setGeometry(fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top);
}

QColor CLinkLabel::TextColor() const {
    return ToColor(LinkTextColor(m_colors, m_pointerInside, m_visited));
}

void CLinkLabel::paintEvent(QPaintEvent*) {
    // The colour is chosen at painting time, so a state change shows at the next repaint.
    m_paintedColor = TextColor();
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_paintedColor);
    painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (!m_pointerInside) {
        OnMouseMove(event->position().toPoint());
    }
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    OnMouseMove(event->position().toPoint());
}

// The first movement that reaches the label means the pointer is over it: it takes the hover
// colour and holds the mouse, so that it also hears the movement that leaves it.
void CLinkLabel::OnMouseMove(const QPoint& position) {
    if (m_pointerInside) {
        if (rect().contains(position)) {
            return;
        }
        LeaveHover();
        return;
    }
    m_pointerInside = true;
    repaint();
    grabMouse();
}

void CLinkLabel::LeaveHover() {
    m_pointerInside = false;
    if (mouseGrabber() == this) {
        releaseMouse();
    }
    repaint();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        OnLinkClicked();
    }
}

void CLinkLabel::hideEvent(QHideEvent* event) {
    if (mouseGrabber() == this) {
        releaseMouse();
    }
    m_pointerInside = false;
    QLabel::hideEvent(event);
}

void CLinkLabel::OnLinkClicked() {
    const int result = OpenTarget(m_desktop, m_targetUrl.toStdString());
    m_visited = result > kOpenSucceededAbove;
    if (m_visited) {
        MarkVisited(true);
    } else {
        // No repaint here: the normal colour returns with the label's next one.
        QApplication::beep();
        ReportOpenError(result);
    }
}

void CLinkLabel::MarkVisited(bool visited) {
    m_visited = visited;
    update();
}

void CLinkLabel::ReportOpenError(int code) {
    // The warning box needs the mouse: the label lends it out while the box is open.
    const bool grabbing = mouseGrabber() == this;
    if (grabbing) {
        releaseMouse();
    }
    // Qt names the application after the executable, so a renamed copy captions the box with
    // its new name.
    m_warningPrompt(QApplication::applicationName(),
                    QString::fromStdString(OpenErrorMessage(code)));
    if (grabbing && m_pointerInside && isVisible()) {
        grabMouse();
    }
}

}  // namespace rq508
