#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QPlainTextEdit;
class QShowEvent;

namespace rainbow::ui {

/// The version-history window: the release notes in one read-only text box, in a fixed-size window
/// centred on the screen. It takes the application's icon. Every showing loads it anew, so showing
/// it again after a close gives the same text, once.
class FrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);

    /// The release notes exactly as the window shows them: eleven lines, each ended by CR LF.
    static QString releaseNotes();

    /// The window title, "版本升级信息".
    static QString title();

    /// The version label's click: creates the window in `window` when it is still empty, else reuses
    /// it, and shows it modally, without an owner. Returns once the user has closed it.
    static void showModal(std::unique_ptr<FrmAbout> &window);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    QPlainTextEdit *m_text1;
};

} // namespace rainbow::ui
