#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

class QFrame;
class QLineEdit;
class QPushButton;
class TComm;
class TfrmCfg;

// Why the band limits of Frame cannot be confirmed (not numbers, empty, or a range the
// analyzer does not sweep), naming the field, which Field then points to; empty when they
// can.
std::string BandLimitsProblem(const TfrmCfg &Frame, QLineEdit *&Field);

// The modal dialog that borrows the configuration frame: OK saves, Storno discards.
// Only Ctrl+Enter means OK and Esc (without Ctrl alone) means Storno; plain Enter does
// nothing, whatever control has the focus.
class TDlgConfig : public QDialog
{
public:
    // Parent only centres the dialog over it; the frame is handed over with SetFrame.
    explicit TDlgConfig(QWidget *Parent = nullptr);
    // Gives the frame back (FormDestroy), so it outlives the dialog.
    ~TDlgConfig() override;

    void SetFrame(TfrmCfg *Frame) { FFrame = Frame; }
    void SetComm(TComm *Comm) { FComm = Comm; }
    TfrmCfg *Frame() const { return FFrame; }

    void FormShow();
    void FormDestroy();
    void btnOkClick();
    void btnStornoClick();
    // True when the key was taken as OK or Storno.
    bool FormKeyDown(int Key, Qt::KeyboardModifiers Modifiers);

    QFrame *pnMain;
    QFrame *pnBottom;
    QPushButton *btnOk;
    QPushButton *btnStorno;

protected:
    void showEvent(QShowEvent *Event) override;
    bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
    QPointer<TfrmCfg> FFrame;
    TComm *FComm = nullptr;
    // The frame's parent and visibility before it was borrowed.
    QPointer<QWidget> FFrameHome;
    bool FFrameWasVisible = false;
    bool FFrameBorrowed = false;
};
