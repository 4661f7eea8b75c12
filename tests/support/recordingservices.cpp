#include "support/recordingservices.h"

QDebug operator<<(QDebug debug, const RecordingServices::Message &message)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Message(" << message.text << ", " << message.title << ", "
                    << (message.icon == MessageIcon::Critical ? "critical" : "exclamation") << ')';
    return debug;
}
