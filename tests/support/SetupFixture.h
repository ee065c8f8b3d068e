#pragma once

#include "TestEnvironment.h"
#include "language/TextTable.h"
#include "platform/ProgramFolder.h"
#include "resources/BuiltinSkin.h"
#include "settings/SetupModel.h"

#include <QDir>
#include <QImage>
#include <QtTest>

// A game folder with the setup's choices on it: the standard set, the English
// texts, captured messages, and helpers that put pictures, packs and a
// settings file into the folder.
class SetupFixture
{
public:
    SetupFixture()
    {
        texts.setEnglishVariables();
        model = std::make_unique<SetupModel>(ProgramFolder(env.folder.path()), standardSet, texts,
                                             &env.messages);
    }

    QString path(const QString &relative) const { return env.folder.filePath(relative); }
    QString settingsPath() const { return path(QStringLiteral("Tolvane.ini")); }

    // A W x H bitmap file whose every pixel differs from its neighbours'.
    void writePicture(const QString &relative, QSize size) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QVERIFY(pattern(size).save(path(relative), "BMP"));
    }
    static QImage pattern(QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x % 256, y % 256, 64 + x / 256 * 16 + y / 256 * 4));
        return image;
    }

    // Lists the folders and reads the settings, as the dialog's showing does.
    void listAndRead() { listAndRead(*model); }
    static void listAndRead(SetupModel &copy)
    {
        copy.ListPictures();
        copy.ListLanguages();
        copy.ListSkins();
        copy.ReadSettings();
    }

    // A second copy of the game started in the same folder.
    std::unique_ptr<SetupModel> anotherCopy()
    {
        return std::make_unique<SetupModel>(ProgramFolder(env.folder.path()), standardSet, texts, &env.messages);
    }

    TestEnvironment env;
    BuiltinSkin standardSet;
    TextTable texts;
    std::unique_ptr<SetupModel> model;
};
