#pragma once

#include <QWidget>

class QLabel;

namespace platform {

// Stand-in for the host suite's status-bar control: the declaration the user
// is on (document number, name, period, form number), shown as fields.
class HostStatusBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int esruc READ esruc WRITE setEsruc)
    Q_PROPERTY(QString formulario READ formulario WRITE setFormulario)
    Q_PROPERTY(QString numdoc READ numdoc WRITE setNumdoc)
    Q_PROPERTY(QString razonsocial READ razonsocial WRITE setRazonsocial)
    Q_PROPERTY(QString periodo_ejercicio READ periodo_ejercicio WRITE setPeriodo_ejercicio)

public:
    explicit HostStatusBar(QWidget* parent = nullptr);

    // 1 when the document number is a RUC.
    int esruc() const { return esruc_; }
    void setEsruc(int value);
    QString formulario() const;
    void setFormulario(const QString& value);
    QString numdoc() const;
    void setNumdoc(const QString& value);
    QString razonsocial() const;
    void setRazonsocial(const QString& value);
    QString periodo_ejercicio() const;
    void setPeriodo_ejercicio(const QString& value);

private:
    QLabel* addCaption(const QString& caption);
    QLabel* addField(const QString& widest, int stretch);

    int esruc_ = 0;
    QLabel* numdocCaption_ = nullptr;
    QLabel* numdoc_ = nullptr;
    QLabel* razonsocial_ = nullptr;
    QLabel* periodo_ = nullptr;
    QLabel* formulario_ = nullptr;
};

} // namespace platform
