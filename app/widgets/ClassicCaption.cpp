#include "app/widgets/ClassicCaption.h"

namespace caltrix {

QString ClassicCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const bool last = i + 1 == caption.size();
        if (caption.at(i) != QLatin1Char('&') || last) {
            shown.append(caption.at(i));
        } else if (caption.at(i + 1) == QLatin1Char('&')) {
            shown.append(QLatin1Char('&'));
            ++i;
        }
    }
    return shown;
}

}  // namespace caltrix
