#include "formulario/subsystems/review/EntradaSinPegar.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

bool EsPegar(const QKeyEvent& tecla)
{
    return tecla.matches(QKeySequence::Paste)
        || (tecla.key() == Qt::Key_Insert && (tecla.modifiers() & Qt::ShiftModifier));
}

void VaciaPortapapeles()
{
    QApplication::clipboard()->setText(QString());
}

class FiltroSinPegar : public QObject {
public:
    FiltroSinPegar(QWidget* campo, bool bBotonDerecho) : QObject(campo), bBotonDerecho_(bBotonDerecho) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            if (!EsPegar(*static_cast<QKeyEvent*>(event)))
                return false;
            if (event->type() == QEvent::KeyPress)
                VaciaPortapapeles();
            event->accept();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButton boton = static_cast<QMouseEvent*>(event)->button();
            if (event->type() == QEvent::MouseButtonPress && boton == Qt::RightButton && bBotonDerecho_)
                VaciaPortapapeles();
            return boton == Qt::MiddleButton; // the X11 selection paste
        }
        case QEvent::DragEnter:
        case QEvent::Drop: event->ignore(); return true;
        default: return false;
        }
    }

private:
    bool bBotonDerecho_;
};

} // namespace

void ImpidePegar(QWidget& oCampo, bool bBotonDerecho)
{
    oCampo.setContextMenuPolicy(Qt::NoContextMenu);
    oCampo.setAcceptDrops(false);
    oCampo.installEventFilter(new FiltroSinPegar(&oCampo, bBotonDerecho));
}
