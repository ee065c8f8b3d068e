#include "TSetup.h"

#include "ColourGrid.h"
#include "FaceArrows.h"
#include "FileDialogState.h"
#include "language/TextFit.h"
#include "language/windows/HelpTopic.h"
#include "language/windows/LanguageLoader.h"
#include "language/windows/LinesLabel.h"
#include "settings/SetupModel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTabWidget>

namespace {

// Names the control, puts it at its designed bounds and gives it the help
// topic that F1 shows for it.
template <class Widget>
Widget *place(Widget *widget, const char *name, HelpTopic topic = HelpTopic::None)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TextFit::bounds(TextTargets::control("Setup", name)));
    if (topic != HelpTopic::None)
        HelpTopics::set(widget, topic);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const char *text)
{
    auto *control = new LinesLabel(TextTargets::control("Setup", name), parent);
    control->setText(QString::fromLatin1(text));
    control->fitText();
    return control;
}

QListWidget *listBox(QWidget *parent, const char *name)
{
    auto *list = place(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

// A read-only memo in the colour of the buttons, with a vertical scroll bar.
QPlainTextEdit *memo(QWidget *parent, const char *name)
{
    auto *edit = place(new QPlainTextEdit(parent), name);
    edit->setReadOnly(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
    return edit;
}

QLabel *picture(QWidget *parent, const char *name)
{
    auto *image = place(new QLabel(parent), name);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

// A picture made smaller to fit the label, in the screen's own pixels: on
// a screen the desktop scales it is as sharp as at 100%.
QPixmap miniature(const QImage &image, const QLabel *label)
{
    const qreal ratio = label->devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(label->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// Refills the list when its entries changed, then selects without telling.
void showList(QListWidget *list, const QStringList &entries, int selected)
{
    const QSignalBlocker blocker(list);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->text());
    if (shown != entries) {
        list->clear();
        list->addItems(entries);
    }
    list->setCurrentRow(selected);
    if (selected < 0)
        list->clearSelection();
}

} // namespace

TSetup::TSetup(SetupModel &model, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_model(model)
{
    setObjectName(QStringLiteral("Setup"));
    setWindowTitle(QStringLiteral("Game setup"));
    HelpTopics::set(this, HelpTopic::Setup);
    setModal(true);
    setFont(TextFit::windowFont());
    setFixedSize(ClientWidth, ClientHeight);

    m_pageControl = place(new QTabWidget(this), "PageControl1", HelpTopic::Setup);
    m_screenPage = new QWidget;
    m_screenPage->setObjectName(QStringLiteral("Screen"));
    m_languagePage = new QWidget;
    m_languagePage->setObjectName(QStringLiteral("Language"));
    HelpTopics::set(m_languagePage, HelpTopic::LanguagePage);
    auto *skinsPage = new QWidget;
    skinsPage->setObjectName(QStringLiteral("Misc"));
    m_pageControl->addTab(m_screenPage, QStringLiteral("Screen"));
    m_pageControl->addTab(m_languagePage, QStringLiteral("Language"));
    m_pageControl->addTab(skinsPage, QStringLiteral("Skins"));
    createScreenPage(m_screenPage);
    createLanguagePage(m_languagePage);
    createSkinsPage(skinsPage);

    auto *cancel = place(new QPushButton(QStringLiteral("Cancel"), this), "Cancel");
    auto *apply = place(new QPushButton(QStringLiteral("Apply"), this), "Apply");
    // Esc closes the dialog as "Cancel" does; Enter presses nothing by itself.
    cancel->setAutoDefault(false);
    apply->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TSetup::CancelClick);
    connect(apply, &QPushButton::clicked, this, &TSetup::ApplyClick);

    keepFileDialogStateInMemory();
    m_openDialog = new QFileDialog(this);
    m_openDialog->setObjectName(QStringLiteral("OpenDialog"));
    m_openDialog->setWindowTitle(QStringLiteral("Select background image"));
    m_openDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_openDialog->setFileMode(QFileDialog::ExistingFile);

    connect(&m_model, &SetupModel::backgroundChanged, this, &TSetup::showBackground);
    // The texts of the text table, as every window starts with them.
    LanguageLoader::applyDesignTexts(this);
}

TSetup::~TSetup() = default;

void TSetup::createScreenPage(QWidget *page)
{
    auto *group = place(new QGroupBox(QStringLiteral("Wallpaper"), page), "GroupBox3", HelpTopic::ScreenPage);
    m_picsBox = listBox(group, "PicsBox");
    label(group, "Label2", "Position:");
    auto *browse = place(new QPushButton(QStringLiteral("Browse..."), group), "Browse");
    browse->setToolTip(QStringLiteral("Choose your own wallpaper"));
    browse->setAutoDefault(false);
    m_rb1 = place(new QRadioButton(QStringLiteral("Centered"), group), "RB1");
    m_rb2 = place(new QRadioButton(QStringLiteral("Tiled"), group), "RB2");
    m_rb1->setChecked(true);
    label(group, "Label3", "Background color");
    m_colSel = place(new ColourGrid(group), "ColSel");
    m_tableImage = place(new QLabel(group), "TableImage");
    m_tableImage->setAlignment(Qt::AlignCenter);

    connect(m_picsBox, &QListWidget::currentRowChanged, this, &TSetup::PicsBoxClick);
    connect(m_rb1, &QRadioButton::clicked, this, &TSetup::RB1Click);
    connect(m_rb2, &QRadioButton::clicked, this, &TSetup::RB2Click);
    connect(m_colSel, &ColourGrid::selectionChanged, this, &TSetup::ColSelChange);
    connect(browse, &QPushButton::clicked, this, &TSetup::BrowseClick);
}

void TSetup::createLanguagePage(QWidget *page)
{
    label(page, "Label1", "Choose language:");
    m_langBox = listBox(page, "LangBox");
    m_langInfo = memo(page, "LangInfo");
    connect(m_langBox, &QListWidget::currentRowChanged, this, &TSetup::LangBoxClick);
}

void TSetup::createSkinsPage(QWidget *page)
{
    auto *skinGroup = place(new QGroupBox(QStringLiteral("Choose skin:"), page), "GroupBox2", HelpTopic::SkinPage);
    m_setBox = listBox(skinGroup, "SetBox");
    m_setImage = picture(skinGroup, "SetImage");
    m_leftRight = place(new FaceArrows(SetupModel::FaceCount, skinGroup), "LeftRight");
    m_leftRight->setEnabled(false);

    auto *backGroup = place(new QGroupBox(QStringLiteral("Choose back:"), page), "GroupBox1");
    m_backBox = listBox(backGroup, "BackBox");
    m_backImage = picture(backGroup, "BackImage");

    auto *infoGroup = place(new QGroupBox(QStringLiteral("Info about skin"), page), "GroupBox4");
    m_info = memo(infoGroup, "Info");

    connect(m_setBox, &QListWidget::currentRowChanged, this, &TSetup::SetBoxClick);
    connect(m_backBox, &QListWidget::currentRowChanged, this, &TSetup::BackBoxClick);
    connect(m_leftRight, &FaceArrows::clicked, this, &TSetup::LeftRightClick);
}

// ---------------------------------------------------------------------------
// Showing the choices

void TSetup::showChoices()
{
    showList(m_picsBox, m_model.pictures(), m_model.picture());
    (m_model.placement() == Wallpaper::Placement::Centered ? m_rb1 : m_rb2)->setChecked(true);
    m_colSel->setSelected(m_model.colour());
    showList(m_langBox, m_model.languages(), m_model.language());
    m_langInfo->setPlainText(m_model.languageInfo().join(QLatin1Char('\n')));
    showList(m_setBox, m_model.skins(), m_model.skin());
    m_info->setPlainText(m_model.skinInfo().join(QLatin1Char('\n')));
    showList(m_backBox, m_model.backs(), m_model.back());
    m_backImage->setPixmap(QPixmap::fromImage(m_model.backPreview()));
    m_leftRight->setEnabled(m_model.faceArrowsEnabled());
    m_leftRight->setPosition(m_model.facePosition());
    if (!m_model.facePreview().isNull())
        m_setImage->setPixmap(QPixmap::fromImage(m_model.facePreview()));
}

void TSetup::showBackground()
{
    m_tableImage->setPixmap(miniature(m_model.boardBackground(), m_tableImage));
}

// ---------------------------------------------------------------------------
// Handlers

void TSetup::FormCreate()
{
    m_model.ListPictures();
    m_model.ListLanguages();
    m_model.ListSkins();
    if (!m_model.ReadSettings())
        m_model.ComposeBackground();
    showChoices();
}

void TSetup::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window coming back from a minimize.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TSetup::FormShow()
{
    m_pageControl->setCurrentWidget(m_model.launches() <= 1 ? m_languagePage : m_screenPage);
    emit boardToHide();
    m_model.ListPictures();
    m_model.ListLanguages();
    m_model.ListSkins();
    m_model.ReadSettings();
    showChoices();
}

void TSetup::done(int result)
{
    QDialog::done(result);
    FormClose();
}

void TSetup::FormClose()
{
    // A reading that changed the colour or placement has composed already.
    if (!m_model.ReadSettings())
        m_model.ComposeBackground();
    showChoices();
    emit boardToShow();
}

void TSetup::PicsBoxClick()
{
    m_model.choosePicture(m_picsBox->currentRow());
    showChoices();
}

void TSetup::RB1Click()
{
    m_model.setPlacement(Wallpaper::Placement::Centered);
}

void TSetup::RB2Click()
{
    m_model.setPlacement(Wallpaper::Placement::Tiled);
}

void TSetup::ColSelChange()
{
    m_model.chooseColour(m_colSel->selected());
}

void TSetup::BrowseClick()
{
    // Where the player last picked a picture, else the pictures folder.
    QString start = m_lastPictureFolder;
    if (start.isEmpty()) {
        start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (start.isEmpty() || !QFileInfo(start).isDir())
            start = QDir::homePath();
    }
    m_openDialog->setDirectory(start);
    m_openDialog->setNameFilter(QStringLiteral("bitmaps (*.[bB][mM][pP])"));
    m_openDialog->setOption(QFileDialog::HideNameFilterDetails);
    if (m_openDialog->layout() && !m_openDialog->findChild<QLabel *>(QStringLiteral("Preview"))) {
        // The picture under the cursor, beside the list of files.
        auto *preview = new QLabel(m_openDialog);
        preview->setObjectName(QStringLiteral("Preview"));
        preview->setFixedSize(160, 160);
        preview->setAlignment(Qt::AlignCenter);
        preview->setFrameShape(QFrame::StyledPanel);
        if (auto *grid = qobject_cast<QGridLayout *>(m_openDialog->layout()))
            grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
        connect(m_openDialog, &QFileDialog::currentChanged, preview, [this, preview](const QString &path) {
            // What the board would show of it centred, read as the board
            // reads it.
            const QImage image =
                Wallpaper::read(path, m_model.clientSize(), Wallpaper::Placement::Centered).picture;
            preview->setPixmap(image.isNull() ? QPixmap() : miniature(image, preview));
        });
    }
    if (m_openDialog->exec() != QDialog::Accepted || m_openDialog->selectedFiles().isEmpty())
        return;
    const QString chosen = m_openDialog->selectedFiles().first();
    m_lastPictureFolder = QFileInfo(chosen).absolutePath();
    m_model.CopyUserPicture(chosen);
    showChoices();
}

void TSetup::LangBoxClick()
{
    m_model.chooseLanguage(m_langBox->currentRow());
    showChoices();
}

void TSetup::SetBoxClick()
{
    m_model.chooseSkin(m_setBox->currentRow());
    showChoices();
}

void TSetup::BackBoxClick()
{
    m_model.chooseBack(m_backBox->currentRow());
    showChoices();
}

void TSetup::LeftRightClick()
{
    m_model.setFacePosition(m_leftRight->position());
    showChoices();
}

void TSetup::ApplyClick()
{
    // A file that cannot be written has been reported; the dialog stays
    // open with the choices, and "Cancel" brings back what the file holds.
    if (!m_model.WriteSettings())
        return;
    emit languageToApply();
    accept();
}

void TSetup::CancelClick()
{
    reject();
}
