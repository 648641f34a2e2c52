#include "app/PackageText.h"
#include <QStringDecoder>

namespace app {

QString packageText(const std::string& bytes)
{
    QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(view);
}

} // namespace app
