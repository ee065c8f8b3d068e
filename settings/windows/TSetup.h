#pragma once

#include <QDialog>

class ColourGrid;
class FaceArrows;
class QFileDialog;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class SetupModel;

// The setup dialog "Game setup": the wallpaper, its placement and the
// background colour on the page "Screen", the language on "Language", the
// skin and its back on "Skins". Its controls show the choices of the
// SetupModel and pass the player's changes to it. "Apply" writes them to the
// settings file; every close (Apply, Cancel, Esc, the close box) reads the
// file back, so only applied choices last.
//
// The main window hides the board while the dialog is open and shows it
// again with the chosen skin and back when it closes (boardToHide,
// boardToShow).
class TSetup : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 339;
    static constexpr int ClientHeight = 331;

    explicit TSetup(SetupModel &model, QWidget *parent = nullptr);
    ~TSetup() override;

    SetupModel &model() const { return m_model; }

    // --- handlers ---
    // At program start: fills the lists, reads the settings and composes the
    // first background.
    void FormCreate();
    void FormShow();
    void FormClose();
    void PicsBoxClick();
    void RB1Click();
    void RB2Click();
    void ColSelChange();
    void BrowseClick();
    void LangBoxClick();
    void SetBoxClick();
    void BackBoxClick();
    void LeftRightClick();
    void ApplyClick();
    void CancelClick();

signals:
    // The dialog is being shown: the board is to be hidden and the clock stopped.
    void boardToHide();
    // The dialog has closed and read the settings back: the board is to come
    // back with the current background, skin and back.
    void boardToShow();
    // "Apply" wrote the settings: the chosen language is to be loaded.
    void languageToApply();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void createScreenPage(QWidget *page);
    void createLanguagePage(QWidget *page);
    void createSkinsPage(QWidget *page);
    void showChoices();
    void showBackground();

    SetupModel &m_model;
    QTabWidget *m_pageControl = nullptr;
    QWidget *m_screenPage = nullptr;
    QWidget *m_languagePage = nullptr;
    QListWidget *m_picsBox = nullptr;
    QRadioButton *m_rb1 = nullptr;
    QRadioButton *m_rb2 = nullptr;
    ColourGrid *m_colSel = nullptr;
    QLabel *m_tableImage = nullptr;
    QListWidget *m_langBox = nullptr;
    QPlainTextEdit *m_langInfo = nullptr;
    QListWidget *m_setBox = nullptr;
    QLabel *m_setImage = nullptr;
    FaceArrows *m_leftRight = nullptr;
    QListWidget *m_backBox = nullptr;
    QLabel *m_backImage = nullptr;
    QPlainTextEdit *m_info = nullptr;
    QFileDialog *m_openDialog = nullptr;
    // Where the player last picked a picture in this run; empty before.
    QString m_lastPictureFolder;
};
