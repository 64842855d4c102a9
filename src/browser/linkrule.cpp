#include "browser/linkrule.h"

namespace linkrule {

bool isLocalContent(const QUrl &url)
{
    const QString scheme = url.scheme();
    return scheme.compare(QLatin1String("local"), Qt::CaseInsensitive) == 0
        || scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0;
}

bool mayOpenFromPage(const QUrl &pageUrl, const QUrl &target)
{
    return !isLocalContent(target) || isLocalContent(pageUrl);
}

} // namespace linkrule
