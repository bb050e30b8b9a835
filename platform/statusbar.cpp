#include "platform/statusbar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

namespace platform {

namespace {

QString numdocCaption(int esruc)
{
    return esruc == 1 ? QStringLiteral("R.U.C.:") : QStringLiteral("Documento:");
}

} // namespace

HostStatusBar::HostStatusBar(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    numdocCaption_ = addCaption(numdocCaption(0)); // sized for the longer caption
    numdocCaption_->setText(numdocCaption(esruc_));
    numdoc_ = addField(QStringLiteral("99999999999"), 0);
    addCaption(QStringLiteral("Razón social:"));
    razonsocial_ = addField(QString(), 1);
    addCaption(QStringLiteral("Periodo:"));
    periodo_ = addField(QStringLiteral("99/9999"), 0);
    addCaption(QStringLiteral("Formulario:"));
    formulario_ = addField(QStringLiteral("9999"), 0);
}

QLabel* HostStatusBar::addCaption(const QString& caption)
{
    auto* label = new QLabel(caption, this);
    label->setFixedWidth(label->sizeHint().width());
    static_cast<QHBoxLayout*>(layout())->addWidget(label);
    return label;
}

// A sunken field wide enough for `widest`; the stretching one cuts a long
// text rather than pushing the other fields out.
QLabel* HostStatusBar::addField(const QString& widest, int stretch)
{
    auto* field = new QLabel(this);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setTextFormat(Qt::PlainText);
    const int width = fontMetrics().horizontalAdvance(widest) + 2 * field->frameWidth() + 6;
    if (stretch > 0) {
        field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        field->setMinimumWidth(width);
    } else {
        field->setFixedWidth(width);
    }
    static_cast<QHBoxLayout*>(layout())->addWidget(field, stretch);
    return field;
}

void HostStatusBar::setEsruc(int value)
{
    esruc_ = value;
    numdocCaption_->setText(numdocCaption(value));
}

QString HostStatusBar::formulario() const { return formulario_->text(); }
void HostStatusBar::setFormulario(const QString& value) { formulario_->setText(value); }
QString HostStatusBar::numdoc() const { return numdoc_->text(); }
void HostStatusBar::setNumdoc(const QString& value) { numdoc_->setText(value); }
QString HostStatusBar::razonsocial() const { return razonsocial_->text(); }
void HostStatusBar::setRazonsocial(const QString& value) { razonsocial_->setText(value); }
QString HostStatusBar::periodo_ejercicio() const { return periodo_->text(); }
void HostStatusBar::setPeriodo_ejercicio(const QString& value) { periodo_->setText(value); }

} // namespace platform
