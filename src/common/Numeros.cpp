#include "common/Numeros.h"

#include "base/AppError.h"

qint32 StrToInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    qint64 value = 0;
    const qsizetype firstDigit = i;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9' || value > 2147483648LL)
            break;
        value = value * 10 + (c - u'0');
    }
    const qint64 signedValue = negative ? -value : value;
    if (i == firstDigit || i != text.size() || signedValue > 2147483647LL || signedValue < -2147483648LL)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<qint32>(signedValue);
}
