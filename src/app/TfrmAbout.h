#pragma once

#include <QByteArray>
#include <QDialog>

class QLabel;

// The about window: the program's picture with its title and version over it.
class TfrmAbout : public QDialog
{
public:
    // The picture built into the program.
    explicit TfrmAbout(QWidget *Parent = nullptr);
    // The same window over the picture Jpeg; a picture that does not decode is left out.
    explicit TfrmAbout(const QByteArray &Jpeg, QWidget *Parent = nullptr);

    QLabel *Image3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label6 = nullptr;

    // Ctrl+Enter closes; Esc closes unless Ctrl is the only modifier held; both with OK.
    // Returns whether the key was taken.
    bool FormKeyDown(int Key, Qt::KeyboardModifiers Modifiers);

protected:
    void keyPressEvent(QKeyEvent *Event) override;

private:
    void Build(const QImage &Picture);
};

// Shows a new about window modally and frees it when it closes.
void ShowAbout();
