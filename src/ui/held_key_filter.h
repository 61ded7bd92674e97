#pragma once

#include <QObject>

namespace rq508 {

// Drops the repeated presses that the platform sends while Enter, Return or Esc is held down,
// so that one press of these keys gives one action. It watches the whole application because
// the repeats go to whichever window has the focus by then: a held Enter would otherwise close
// each message box as it opens and press the focused button of the window below again.
class HeldKeyFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_releasedKey = 0;
    quint64 m_releaseTime = 0;
};

// Installs one HeldKeyFilter on the application, unless it has one already.
void DropHeldKeyRepeats();

}  // namespace rq508
