#include "app/support/ClassicCaption.h"

namespace caltrix {

QString ClassicCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&')) {
            shown.append(caption.at(i));
        } else if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('&')) {
            shown.append(QLatin1Char('&'));
            ++i;
        }
    }
    return shown;
}

}  // namespace caltrix
