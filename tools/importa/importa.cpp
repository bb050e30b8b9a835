#include "tools/importa/importa.h"

#include "formulario/subsystems/import/FileBrowser.h"
#include "formulario/subsystems/import/FrmImportar.h"
#include "platform/dialogs.h"

#include <QComboBox>

QString ImportaEstadoAdeudos(const QString& sRuc, int nEntidad, const QString& sCarpeta)
{
    FrmImportar form;
    form.Form_Load();
    form.CmbRuc->setCurrentIndex(form.CmbRuc->findText(sRuc, Qt::MatchStartsWith));
    form.CmbEntidad->setCurrentIndex(form.CmbEntidad->findText(QString::number(nEntidad), Qt::MatchStartsWith));
    form.CmbRuc_Click();
    form.DirList->setPath(sCarpeta);
    form.DirList_Change();
    form.flListaFiles->setCurrentRow(0);

    platform::DialogScript script;
    script.answer(platform::mb::Ok);
    form.CmdGrabar_Click();
    return script.lastText();
}
