#include "app/WidgetHelpers.h"

#include "platform/Parse.h"
#include "platform/QtColor.h"

#include <QFrame>
#include <QLineEdit>
#include <QVBoxLayout>

void SetFontColour(QWidget *Widget, const QColor &Colour, bool Bold)
{
    QPalette Palette = Widget->palette();
    Palette.setColor(QPalette::WindowText, Colour);
    Palette.setColor(QPalette::ButtonText, Colour);
    Palette.setColor(QPalette::Text, Colour);
    Widget->setPalette(Palette);
    if (Bold) {
        QFont Font = Widget->font();
        Font.setBold(true);
        Widget->setFont(Font);
    }
}

TColor FontColour(const QWidget *Widget)
{
    return FromQColor(Widget->palette().color(QPalette::WindowText));
}

QFrame *MakePanel(QWidget *Parent, const char *Name)
{
    auto *Panel = new QFrame(Parent);
    Panel->setObjectName(QString::fromLatin1(Name));
    return Panel;
}

QVBoxLayout *MakeStack(QWidget *Panel, int Margin, int Spacing)
{
    auto *Stack = new QVBoxLayout(Panel);
    Stack->setContentsMargins(Margin, Margin, Margin, Margin);
    Stack->setSpacing(Spacing);
    return Stack;
}

bool FieldNumber(const QLineEdit *Field, double &Value)
{
    Value = 0.0;
    return Field->text().isEmpty() || TryStrToFloat(StdStr(Field->text()), Value);
}
