#include "file_filter.h"

namespace kadrix {

QStringList FilterDescriptions(const QString& filter) {
    const QStringList pieces = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList result;
    for (qsizetype i = 0; i < pieces.size(); i += 2)
        result << pieces[i];
    return result;
}

} // namespace kadrix
