// The about window offscreen: the links under mouse moves, what a click on
// them opens, its texts against language packs, and the About button.

#include "language/TextTable.h"
#include "shell/Program.h"
#include "shell/SpeedButton.h"
#include "shell/TAboutMe.h"
#include "shell/TForm1.h"
#include "support/Deals.h"
#include "support/Keys.h"
#include "support/PackTexts.h"
#include "support/ProgramStart.h"
#include "support/TestEnvironment.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

namespace {

bool highlighted(const QLabel *link)
{
    const QColor colour = link->palette().color(QPalette::WindowText);
    if (colour == QColor(255, 0, 0) && link->font().underline())
        return true;
    if (colour == QColor(0, 0, 255) && !link->font().underline())
        return false;
    QTest::qFail(qPrintable(link->objectName() + QStringLiteral(" is neither blue nor red and underlined")),
                 __FILE__, __LINE__);
    return false;
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void window();
    void linksFollowTheMouse_data();
    void linksFollowTheMouse();
    void clicksOpenThePageAndTheMail();
    void languagePacksLeaveEveryTextAlone();
    void aboutButtonIsDownWhileTheWindowShows();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Program> m_program;
    TAboutMe *m_about = nullptr;
};

void AboutTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_program = std::make_unique<Program>(m_env->environment);
    startPastFirstStartDialog(*m_program);
    m_about = &m_program->aboutWindow();
}

void AboutTest::cleanup()
{
    m_program.reset();
    m_env.reset();
}

void AboutTest::window()
{
    QCOMPARE(m_about->objectName(), QStringLiteral("AboutMe"));
    QCOMPARE(m_about->windowTitle(), QStringLiteral("About 'Tolvane...'"));
    QCOMPARE(m_about->size(), QSize(329, 395));
    QCOMPARE(m_about->property("helpContext").toInt(), 40);
    const Qt::WindowFlags flags = m_about->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Doubled, so that it shows as one ampersand and marks no shortcut.
    QCOMPARE(m_about->groupBox()->title(), QStringLiteral("About 'Tolvane...' && Brindlewick"));
    QVERIFY(m_about->label("Label4")->text().endsWith(QStringLiteral(".example.com")));
    QVERIFY(m_about->label("Label7")->text().endsWith(QStringLiteral(".example.com")));
    m_about->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_about));
    const QRect screen = m_about->screen()->geometry();
    QCOMPARE(m_about->frameGeometry().center(), screen.center());
}

void AboutTest::linksFollowTheMouse_data()
{
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<bool>("webHot");
    QTest::addColumn<bool>("mailHot");

    QTest::newRow("nothing yet") << QStringList{} << false << false;
    QTest::newRow("web link") << QStringList{"Label4"} << true << false;
    QTest::newRow("mail link") << QStringList{"Label7"} << false << true;
    QTest::newRow("one link, then the other") << QStringList{"Label4", "Label7"} << true << true;
    QTest::newRow("then a plain text") << QStringList{"Label4", "Label7", "Label5"} << false << false;
    QTest::newRow("then the frame") << QStringList{"Label7", "GroupBox3"} << false << false;
    QTest::newRow("out of the group box") << QStringList{"Label4", "AboutMe"} << true << false;
    QTest::newRow("out and back in") << QStringList{"Label4", "AboutMe", "Label6"} << false << false;
}

void AboutTest::linksFollowTheMouse()
{
    QFETCH(QStringList, moves);
    QFETCH(bool, webHot);
    QFETCH(bool, mailHot);
    m_about->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_about));
    for (const QString &name : moves) {
        QWidget *target = name == m_about->objectName() ? m_about : m_about->findChild<QWidget *>(name);
        QVERIFY2(target, qPrintable(name));
        // The window's own corner and the group box's frame lie outside
        // every label; the labels are hit in their middle.
        const QPoint at = target == m_about ? QPoint(3, 3)
                          : target == m_about->groupBox() ? QPoint(2, target->height() / 2)
                                                          : target->rect().center();
        QTest::mouseMove(target, at);
        QTest::qWait(20);
    }
    QCOMPARE(highlighted(m_about->label("Label4")), webHot);
    QCOMPARE(highlighted(m_about->label("Label7")), mailHot);
}

void AboutTest::clicksOpenThePageAndTheMail()
{
    m_about->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_about));
    QTest::mouseClick(m_about->label("Label4"), Qt::LeftButton);
    QTest::mouseClick(m_about->label("Label7"), Qt::LeftButton);
    QTest::mouseClick(m_about->label("Label6"), Qt::LeftButton);
    QCOMPARE(m_env->opened.size(), std::size_t(2));
    QCOMPARE(m_env->opened[0].scheme(), QStringLiteral("http"));
    QCOMPARE(m_env->opened[0].host(), m_about->label("Label4")->text());
    QCOMPARE(m_env->opened[1].toString(),
             QStringLiteral("mailto:") + m_about->label("Label7")->text() + QStringLiteral("?subject=Tech support"));
    QVERIFY(m_about->isVisible());
}

void AboutTest::languagePacksLeaveEveryTextAlone()
{
    QCOMPARE(textsAPackChanges(m_program->language(), m_env->folder.path(), m_about, {"caption"}), QStringList());
    const QList<QWidget *> controls = m_about->findChildren<QWidget *>();
    QVERIFY(controls.size() >= 7);
    for (QWidget *control : controls) {
        if (control->objectName().isEmpty())
            continue;
        QCOMPARE(TextTable::tag(control), TextTable::FixedTextTag);
    }
}

void AboutTest::aboutButtonIsDownWhileTheWindowShows()
{
    TForm1 &main = m_program->mainWindow();
    SpeedButton *about = main.button(QStringLiteral("About"));
    m_env->times = {OnePairSeed};
    release(&main, Qt::Key_F2);
    QVERIFY(main.timer()->isActive());
    bool downWhileOpen = false, modal = false, clockOn = false;
    QTimer::singleShot(0, m_about, [&] {
        downWhileOpen = about->isDown();
        modal = QApplication::activeModalWidget() == m_about;
        clockOn = main.timer()->isActive();
        m_about->close();
    });
    QTest::mouseClick(about, Qt::LeftButton);
    QVERIFY(downWhileOpen);
    QVERIFY(modal);
    QVERIFY(clockOn);
    QVERIFY(!m_about->isVisible());
    QVERIFY(!about->isDown());
}

QTEST_MAIN(AboutTest)
#include "tst_shell_about.moc"
