#include "ui/held_key_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace rq508 {
namespace {

bool EndsOrPresses(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if (press || event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (EndsOrPresses(key->key())) {
            // X11 repeats a held key as a release and a press with one time stamp. Qt flags the
            // pair as a repeat only when both have reached it together, which a busy program
            // often misses, so the time stamp decides too. Zero means the sender gave no time.
            const bool sameTimeAsRelease = key->timestamp() != 0 && key->key() == m_releasedKey &&
                                           key->timestamp() == m_releaseTime;
            if (!press) {
                m_releasedKey = key->key();
                m_releaseTime = key->timestamp();
            } else if (key->isAutoRepeat() || sameTimeAsRelease) {
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void DropHeldKeyRepeats() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application->findChild<HeldKeyFilter*>(QString(), Qt::FindDirectChildrenOnly)) {
        application->installEventFilter(new HeldKeyFilter(application));
    }
}

}  // namespace rq508
