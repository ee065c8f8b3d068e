#pragma once

#include "platform/ResourceModule.h"

#include <QHash>
#include <QSet>
#include <memory>

class MessageSink;

// The skin every face and back of the board is loaded from: the standard set
// that comes with the program, or one skin library. A library that was listed
// but cannot be opened now leaves the skin empty: its texts and pictures are
// then the standard set's.
//
// A picture that the library lacks is "Resource <name> not found", shown
// once for that name in that library; the standard set's picture of that
// name (or its first back, for a back it has not) stands in, so a tile never
// goes without a picture and the game goes on.
class CurrentSkin final : public ResourceModule
{
public:
    CurrentSkin(const ResourceModule &standardSet, MessageSink *messages);
    ~CurrentSkin() override;

    void useStandardSet();
    // The library read from the file `name` in the skins folder, or the empty
    // skin when `library` is null. The previous library is closed.
    void useLibrary(std::unique_ptr<ResourceModule> library, const QString &name);

    bool isStandardSet() const { return !m_library && !m_empty; }
    // A library was chosen but could not be opened.
    bool isEmpty() const { return m_empty; }

    QImage bitmap(const QString &name) const override;
    QString string(int id) const override;

private:
    const ResourceModule &m_standardSet;
    MessageSink *m_messages;
    std::unique_ptr<ResourceModule> m_library;
    QString m_name; // the library's file name, upper-cased
    bool m_empty = false;
    // Names already reported missing, by library.
    mutable QHash<QString, QSet<QString>> m_reported;
};
