#include "db/Placeholders.h"

namespace db {

namespace {

bool isIdentChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Length of a dollar-quote tag ($tag$ or $$) starting at i, or 0 when there is none.
qsizetype dollarTagLength(const QString& s, qsizetype i) {
    if (s[i] != u'$')
        return 0;
    if (i > 0 && isIdentChar(s[i - 1]))
        return 0; // part of an identifier such as a$b
    qsizetype j = i + 1;
    while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == u'_')) {
        if (j == i + 1 && s[j].isDigit())
            return 0; // $1 is a parameter, not a tag
        ++j;
    }
    return (j < s.size() && s[j] == u'$') ? j - i + 1 : 0;
}

// One past the closing quote of the quoted text opening at i (a doubled quote stays inside);
// the end of the text when it is never closed.
qsizetype endOfQuoted(const QString& s, qsizetype i, QChar quote, bool backslashEscapes) {
    const qsizetype n = s.size();
    qsizetype j = i + 1;
    while (j < n) {
        if (backslashEscapes && s[j] == u'\\' && j + 1 < n) {
            j += 2;
            continue;
        }
        if (s[j] == quote) {
            if (j + 1 < n && s[j + 1] == quote) {
                j += 2;
                continue;
            }
            break;
        }
        ++j;
    }
    return qMin(j + 1, n);
}

} // namespace

TranslatedSql translatePlaceholders(const QString& s) {
    TranslatedSql out;
    out.text.reserve(s.size() + 8);
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'') {
            // E'...' strings take backslash escapes; standard strings only doubled quotes.
            const bool escapes =
                i > 0 && (s[i - 1] == u'E' || s[i - 1] == u'e') && (i < 2 || !isIdentChar(s[i - 2]));
            const qsizetype j = endOfQuoted(s, i, u'\'', escapes);
            out.text += s.mid(i, j - i);
            i = j;
        } else if (c == u'"') {
            const qsizetype j = endOfQuoted(s, i, u'"', false);
            out.text += s.mid(i, j - i);
            i = j;
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            qsizetype j = i;
            while (j < n && s[j] != u'\n' && s[j] != u'\r')
                ++j;
            out.text += s.mid(i, j - i);
            i = j;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            int depth = 0;
            qsizetype j = i;
            while (j < n) {
                if (s[j] == u'/' && j + 1 < n && s[j + 1] == u'*') {
                    ++depth;
                    j += 2;
                } else if (s[j] == u'*' && j + 1 < n && s[j + 1] == u'/') {
                    j += 2;
                    if (--depth == 0)
                        break;
                } else {
                    ++j;
                }
            }
            out.text += s.mid(i, j - i);
            i = j;
        } else if (const qsizetype tag = dollarTagLength(s, i); tag > 0) {
            const QString delimiter = s.mid(i, tag);
            const qsizetype close = s.indexOf(delimiter, i + tag);
            const qsizetype end = close < 0 ? n : close + tag;
            out.text += s.mid(i, end - i);
            i = end;
        } else if (c == u':' && i + 1 < n && s[i + 1] == u':') {
            out.text += QStringLiteral("::");
            i += 2;
        } else if (c == u':' && i + 1 < n && s[i + 1].isDigit() && s[i + 1].unicode() < 128 &&
                   (i == 0 || !isIdentChar(s[i - 1]))) {
            // Glued to a word (a$:0, $tag:0, a[1:2]) the $N would become part of that word or open a
            // dollar quote: such a colon is not a parameter.
            qsizetype j = i + 1;
            while (j < n && s[j].isDigit() && s[j].unicode() < 128)
                ++j;
            bool ok = false;
            const int index = s.mid(i + 1, j - i - 1).toInt(&ok);
            if (!ok || index > 65534) {
                out.text += s.mid(i, j - i); // absurd index: leave it to the server to reject
            } else {
                out.text += u'$' + QString::number(index + 1);
                out.paramCount = qMax(out.paramCount, index + 1);
            }
            i = j;
        } else {
            out.text += c;
            ++i;
        }
    }
    return out;
}

} // namespace db
