#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The commands of kelvor-skin. Each prints to `out` what it did or found and
// to `err` why it could not, and returns the program's exit status.
class SkinCommands
{
public:
    SkinCommands(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

    // Runs the command line without the program's name.
    int run(const QStringList &arguments);

    // A folder of pictures and skin.txt into a library.
    int build(const QString &folder, const QString &dll);
    // Marker, backs, records, author, description, and every bitmap.
    int list(const QString &dll);
    // The pictures and skin.txt back out of a library.
    int extract(const QString &dll, const QString &folder);
    // Whether the game would list the library and what it would miss:
    // 0 when nothing is missing, 1 otherwise.
    int check(const QString &dll);

    static constexpr int Fine = 0;
    static constexpr int Faulty = 1;
    static constexpr int Usage = 2;

private:
    QTextStream &m_out;
    QTextStream &m_err;
};
