#include "tools/kelvor-skin/SkinText.h"

#include <QRegularExpression>

namespace {

// Sets entry `number` (from 1) of a list, growing it as needed.
template<typename T>
bool setNumbered(QList<T> &list, qsizetype number, const T &value)
{
    // Far more than a skin has; keeps a typing slip from asking for millions.
    if (number < 1 || number > 999)
        return false;
    if (list.size() < number)
        list.resize(number);
    list[number - 1] = value;
    return true;
}

} // namespace

bool SkinText::parse(const QString &text, SkinText &result, QString &error)
{
    static const QRegularExpression line(QStringLiteral(
        "^(author|description|back (\\d+)|record (\\d+) (first|second)):[ \\t]?(.*)$"));
    result = {};
    QList<bool> titled;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        if (raw.trimmed().isEmpty() || raw.startsWith(u'#'))
            continue;
        const auto match = line.match(raw);
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (!match.hasMatch()) {
            error = where + QStringLiteral("not \"author:\", \"description:\", \"back N:\" or \"record N first/second:\"");
            return false;
        }
        const QString value = match.captured(5);
        const QString key = match.captured(1);
        bool ok = true;
        if (key == QLatin1String("author"))
            result.author = value;
        else if (key == QLatin1String("description"))
            result.description = value;
        else if (key.startsWith(QLatin1String("back"))) {
            ok = setNumbered(result.backTitles, match.captured(2).toLongLong(), value)
                 && setNumbered(titled, match.captured(2).toLongLong(), true);
        } else {
            const qsizetype number = match.captured(3).toLongLong();
            auto record = number >= 1 && number <= result.records.size() ? result.records[number - 1]
                                                                          : std::pair<QString, QString>();
            (match.captured(4) == QLatin1String("first") ? record.first : record.second) = value;
            ok = setNumbered(result.records, number, record);
        }
        if (!ok) {
            error = where + QStringLiteral("numbers run from 1 to 999");
            return false;
        }
    }
    return true;
}

QString SkinText::format() const
{
    QString out = QStringLiteral("# Texts of a Kelvor skin: one \"key: text\" line each.\n");
    out += QStringLiteral("author: %1\ndescription: %2\n").arg(author, description);
    for (qsizetype i = 0; i < backTitles.size(); ++i)
        out += QStringLiteral("back %1: %2\n").arg(i + 1).arg(backTitles[i]);
    for (qsizetype i = 0; i < records.size(); ++i)
        out += QStringLiteral("record %1 first: %2\nrecord %1 second: %3\n")
                   .arg(i + 1)
                   .arg(records[i].first, records[i].second);
    return out;
}
