#include "result_claims.h"

#include <QHash>

namespace kadrix::cli {

std::vector<qsizetype> firstClaims(const std::vector<QString>& resultPaths) {
    std::vector<qsizetype> claims(resultPaths.size());
    QHash<QString, qsizetype> first;
    first.reserve(qsizetype(resultPaths.size()));
    for (std::size_t position = 0; position < resultPaths.size(); ++position) {
        auto claim = first.constFind(resultPaths[position]);
        if (claim == first.cend())
            claim = first.insert(resultPaths[position], qsizetype(position));
        claims[position] = *claim;
    }
    return claims;
}

} // namespace kadrix::cli
