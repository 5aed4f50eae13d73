#include "ui/main_window/links.h"

#include <QUrlQuery>

namespace rainbow::ui {

QUrl blogAddress() { return QUrl(QStringLiteral("http://blog.example.net/qingyou/")); }

QUrl homeAddress() { return QUrl(QStringLiteral("http://www.example.com/")); }

QUrl bugReportAddress()
{
    QUrl address(QStringLiteral("http://wpa.example.org/msgrd"));
    QUrlQuery query;
    query.setQueryItems(
        { { QStringLiteral("V"), QStringLiteral("1") }, { QStringLiteral("Uin"), QStringLiteral("10000001") },
            { QStringLiteral("Site"), QStringLiteral("BUG提交") },
            { QStringLiteral("Menu"), QStringLiteral("yes") } });
    address.setQuery(query);
    return address;
}

} // namespace rainbow::ui
