#include "platform/dialogs.h"

#include "tests/platform/scopedenv.h"
#include "tests/support/OnDisplay.h"
#include "tests/support/x11window.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

// --- helpers -------------------------------------------------------------

// Runs `act` on the modal widget as soon as one is shown.
void whenModalShown(std::function<void(QWidget*)> act, int triesLeft = 10000)
{
    QTimer::singleShot(0, qApp, [act, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            whenModalShown(act, triesLeft - 1);
        else
            ADD_FAILURE() << "no modal widget was shown";
    });
}

QStringList buttonCaptions(QMessageBox* box)
{
    QStringList captions;
    for (QAbstractButton* button : box->buttons())
        captions << button->text();
    return captions;
}

QAbstractButton* buttonCaptioned(QMessageBox* box, const QString& caption)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

// What a shown box looked like.
struct BoxSeen {
    QStringList captions;
    QString title;
    QString text;
    QString defaultCaption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Clicks the button captioned `caption` (the first one when empty) of the
// next box shown, after noting what the box looks like.
void clickWhenShown(const QString& caption, BoxSeen* seen)
{
    whenModalShown([caption, seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen->captions = buttonCaptions(box);
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->defaultCaption = box->defaultButton() ? box->defaultButton()->text() : QString();
        QAbstractButton* button = caption.isEmpty() ? box->buttons().first() : buttonCaptioned(box, caption);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}

void pressEscape(QWidget* widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// A child process's output, exit code and whether it was read whole.
struct ChildRun {
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
};

ChildRun runInChild(const std::function<void()>& body)
{
    int out[2];
    int err[2];
    ChildRun run;
    if (pipe(out) != 0 || pipe(err) != 0)
        return run;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(err[0]);
        body();
        std::fflush(nullptr);
        _exit(0);
    }
    close(out[1]);
    close(err[1]);
    const auto readAll = [](int fd) {
        QByteArray bytes;
        char buffer[4096];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
        close(fd);
        return bytes;
    };
    run.out = readAll(out[0]);
    run.err = readAll(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// No answers from the environment, and a known program title.
class EnvironmentClear : public ::testing::Test {
protected:
    void SetUp() override
    {
        qunsetenv("MSGBOX_ANSWERS");
        QCoreApplication::setApplicationName("Vardeno Prueba");
    }
    ScopedEnv answers_{"MSGBOX_ANSWERS"};
};

using DefaultAnswers = EnvironmentClear;
using ScriptedBoxes = EnvironmentClear;
using ScriptedForms = EnvironmentClear;
using AnswersFromEnvironment = EnvironmentClear;
using ShownBoxes = EnvironmentClear;
using ShownForms = EnvironmentClear;
using EndOfProgram = EnvironmentClear;

} // namespace

// --- default buttons -------------------------------------------------------

TEST_F(DefaultAnswers, AreTheChosenButtonOfEachSet)
{
    EXPECT_EQ(defaultAnswer(mb::OkOnly), mb::Ok);
    EXPECT_EQ(defaultAnswer(mb::OkCancel), mb::Ok);
    EXPECT_EQ(defaultAnswer(mb::OkCancel | mb::DefaultButton2), mb::Cancel);
    EXPECT_EQ(defaultAnswer(mb::AbortRetryIgnore), mb::Abort);
    EXPECT_EQ(defaultAnswer(mb::AbortRetryIgnore | mb::DefaultButton2), mb::Retry);
    EXPECT_EQ(defaultAnswer(mb::AbortRetryIgnore | mb::DefaultButton3), mb::Ignore);
    EXPECT_EQ(defaultAnswer(mb::YesNoCancel | mb::Question | mb::DefaultButton3), mb::Cancel);
    EXPECT_EQ(defaultAnswer(mb::YesNo | mb::Critical), mb::Yes);
    EXPECT_EQ(defaultAnswer(mb::YesNo | mb::DefaultButton2), mb::No);
    EXPECT_EQ(defaultAnswer(mb::RetryCancel | mb::Exclamation), mb::Retry);
    // A default past the last button falls back on the first.
    EXPECT_EQ(defaultAnswer(mb::YesNo | mb::DefaultButton3), mb::Yes);
    EXPECT_EQ(defaultAnswer(mb::OkOnly | mb::DefaultButton2), mb::Ok);
}

// --- boxes under a script ----------------------------------------------------

TEST_F(ScriptedBoxes, TakeTheQueuedAnswersInOrderAndAreRecorded)
{
    DialogScript script;
    script.onUnexpected = [](const ShownMessage& m) { ADD_FAILURE() << "unexpected: " << m.text.toStdString(); };
    script.answer(mb::No);
    script.answer(mb::Cancel);
    EXPECT_EQ(script.pendingAnswers(), 2);

    EXPECT_EQ(messageBox("¿Desea grabar?", mb::YesNo | mb::Question, "Grabar"), mb::No);
    EXPECT_EQ(messageBox("Segundo", mb::OkCancel), mb::Cancel);
    EXPECT_EQ(script.pendingAnswers(), 0);

    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("¿Desea grabar?"));
    EXPECT_EQ(script.shown()[0].title, QString("Grabar"));
    EXPECT_EQ(script.shown()[0].style, mb::YesNo | mb::Question);
    EXPECT_EQ(script.shown()[0].answer, mb::No);
    EXPECT_EQ(script.shown()[1].title, QString("Vardeno Prueba")); // an empty title shows the program's
    EXPECT_EQ(script.lastText(), QString("Segundo"));
    script.clear();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(script.lastText(), QString());
}

TEST_F(ScriptedBoxes, AnAnswerGivenWhenTheBoxIsShownSeesTheBox)
{
    DialogScript script;
    QString seen;
    script.answer([&seen](const ShownMessage& box) {
        seen = box.text;
        return mb::No;
    });
    EXPECT_EQ(messageBox("¿Desea continuar?", mb::YesNo | mb::Question, "T"), mb::No);
    EXPECT_EQ(seen, QStringLiteral("¿Desea continuar?"));
    EXPECT_EQ(script.shown().last().answer, mb::No);
}

TEST_F(ScriptedBoxes, AnUnexpectedBoxIsReportedAndTakesItsDefault)
{
    DialogScript script;
    QList<ShownMessage> unexpected;
    script.onUnexpected = [&](const ShownMessage& m) { unexpected << m; };

    EXPECT_EQ(messageBox("Sin respuesta", mb::YesNoCancel | mb::DefaultButton2, "T"), mb::No);
    ASSERT_EQ(unexpected.size(), 1);
    EXPECT_EQ(unexpected[0].text, QString("Sin respuesta"));
    EXPECT_EQ(unexpected[0].answer, mb::No);
    EXPECT_EQ(script.shown().size(), 1);

    script.onUnexpected = nullptr;
    EXPECT_EQ(messageBox("Otra", mb::RetryCancel), mb::Retry);
    EXPECT_EQ(script.shown().size(), 2);
}

TEST_F(ScriptedBoxes, TheLatestScriptAnswersUntilItGoes)
{
    DialogScript outer;
    outer.answer(mb::Yes);
    {
        DialogScript inner;
        inner.answer(mb::No);
        EXPECT_EQ(messageBox("interior", mb::YesNo), mb::No);
        EXPECT_EQ(inner.shown().size(), 1);
    }
    EXPECT_EQ(messageBox("exterior", mb::YesNo), mb::Yes);
    ASSERT_EQ(outer.shown().size(), 1);
    EXPECT_EQ(outer.lastText(), QString("exterior"));
}

// --- forms under a script ---------------------------------------------------

TEST_F(ScriptedForms, RunTheirHandlerWithoutBeingShown)
{
    DialogScript script;
    script.onUnexpected = [](const ShownMessage& m) { ADD_FAILURE() << m.text.toStdString(); };
    QDialog form;
    form.setObjectName("FrmImportar");
    bool wasVisible = true;
    script.onForm("FrmImportar", [&](QWidget& shown) {
        EXPECT_EQ(&shown, &form);
        wasVisible = shown.isVisible();
        return 3;
    });
    EXPECT_EQ(showModal(form), 3);
    EXPECT_FALSE(wasVisible);

    script.onForm("FrmImportar", [](QWidget&) { return 9; }); // a later handler replaces it
    EXPECT_EQ(showModal(form), 9);
    EXPECT_EQ(script.formsShown(), QStringList({"FrmImportar", "FrmImportar"}));
}

TEST_F(ScriptedForms, AFormWithoutHandlerIsReportedAndGivesZero)
{
    DialogScript script;
    QList<ShownMessage> unexpected;
    script.onUnexpected = [&](const ShownMessage& m) { unexpected << m; };
    script.onForm("Frm913", [](QWidget&) { return 1; });
    QWidget form;
    form.setObjectName("frmSustento");

    EXPECT_EQ(showModal(form), 0);
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(unexpected.size(), 1);
    EXPECT_TRUE(unexpected[0].text.contains("frmSustento"));
    EXPECT_EQ(script.formsShown(), QStringList({"frmSustento"}));
}

TEST_F(EndOfProgram, ThrowsUnderAScript)
{
    DialogScript script;
    EXPECT_EQ(script.exitCode(), std::nullopt);
    try {
        endProgram(4);
        FAIL() << "endProgram returned";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 4);
    }
    EXPECT_EQ(script.exitCode(), 4);
}

TEST_F(EndOfProgram, WithoutAScriptEndsAtOnceKeepingWrittenOutput)
{
    const ChildRun run = runInChild([] {
        std::atexit([] { std::fputs("cleanup ran", stdout); });
        std::fputs("pending output", stdout); // still in the stdio buffer
        endProgram(7);
    });
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_EQ(run.out, QByteArray("pending output"));
}

// --- MSGBOX_ANSWERS ----------------------------------------------------------

TEST_F(AnswersFromEnvironment, WriteEachBoxAndTakeTheListedAnswers)
{
    const ChildRun run = runInChild([] {
        qputenv("MSGBOX_ANSWERS", "yes, Cancel,bogus,retry");
        const int answers[] = {
            messageBox(QStringLiteral("¿Grabar?\nlínea dos"), mb::YesNo | mb::Question, QStringLiteral("Título")),
            messageBox("b", mb::OkCancel | mb::Critical, "T2"),
            messageBox("c", mb::YesNoCancel | mb::DefaultButton2, "T3"), // unknown word: default
            messageBox("d", mb::RetryCancel | mb::Exclamation),
            messageBox("e", mb::AbortRetryIgnore | mb::DefaultButton3 | mb::Information, "T5"), // list used up
        };
        for (int answer : answers)
            std::printf("%d ", answer);
    });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("6 2 7 4 5 "));
    EXPECT_EQ(QString::fromUtf8(run.err), QStringLiteral("MSGBOX|Título|¿Grabar?\\nlínea dos|4|32\n"
                                                         "MSGBOX|T2|b|1|16\n"
                                                         "MSGBOX|T3|c|3|0\n"
                                                         "MSGBOX|Vardeno Prueba|d|5|48\n"
                                                         "MSGBOX|T5|e|2|64\n"));
}

TEST_F(AnswersFromEnvironment, AnEmptyListAnswersWithTheDefaults)
{
    const ChildRun run = runInChild([] {
        qputenv("MSGBOX_ANSWERS", "");
        const int first = messageBox("a", mb::YesNo | mb::DefaultButton2, "T");
        std::printf("%d %d", first, messageBox("b", mb::OkOnly, "T"));
    });
    EXPECT_EQ(run.out, QByteArray("7 1"));
    EXPECT_EQ(run.err, QByteArray("MSGBOX|T|a|4|0\nMSGBOX|T|b|0|0\n"));
}

TEST_F(AnswersFromEnvironment, GiveWayToAScript)
{
    const ChildRun run = runInChild([] {
        qputenv("MSGBOX_ANSWERS", "no");
        DialogScript script;
        script.answer(mb::Yes);
        std::printf("%d", messageBox("a", mb::YesNo, "T"));
    });
    EXPECT_EQ(run.out, QByteArray("6"));
    EXPECT_TRUE(run.err.isEmpty());
}

// --- real boxes ---------------------------------------------------------------

TEST_F(ShownBoxes, ShowSpanishButtonsIconTitleAndDefault)
{
    BoxSeen seen;
    clickWhenShown(QStringLiteral("&Sí"), &seen);
    EXPECT_EQ(messageBox("<b>¿Eliminar?</b>", mb::YesNo | mb::Question | mb::DefaultButton2, "Eliminar"), mb::Yes);
    EXPECT_EQ(seen.captions, QStringList({QStringLiteral("&Sí"), "&No"}));
    EXPECT_EQ(seen.title, QString("Eliminar"));
    EXPECT_EQ(seen.text, QString("<b>¿Eliminar?</b>")); // plain text, never markup
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.defaultCaption, QString("&No"));

    clickWhenShown("Cancelar", &seen);
    EXPECT_EQ(messageBox("x", mb::YesNoCancel | mb::DefaultButton3, "T"), mb::Cancel);
    EXPECT_EQ(seen.defaultCaption, QString("Cancelar"));
}

TEST_F(ShownBoxes, EachSetHasItsCaptionsAndIcon)
{
    struct Case {
        int style;
        QStringList captions;
        QMessageBox::Icon icon;
        int answerOfFirst;
    };
    const QList<Case> cases{
        {mb::OkOnly | mb::Information, {"Aceptar"}, QMessageBox::Information, mb::Ok},
        {mb::OkCancel | mb::Critical, {"Aceptar", "Cancelar"}, QMessageBox::Critical, mb::Ok},
        {mb::AbortRetryIgnore | mb::Exclamation, {"&Anular", "&Reintentar", "&Omitir"}, QMessageBox::Warning,
         mb::Abort},
        {mb::YesNoCancel, {QStringLiteral("&Sí"), "&No", "Cancelar"}, QMessageBox::NoIcon, mb::Yes},
        {mb::RetryCancel, {"&Reintentar", "Cancelar"}, QMessageBox::NoIcon, mb::Retry},
    };
    for (const Case& c : cases) {
        BoxSeen seen;
        clickWhenShown(QString(), &seen);
        EXPECT_EQ(messageBox("texto", c.style), c.answerOfFirst);
        EXPECT_EQ(seen.captions, c.captions) << c.style;
        EXPECT_EQ(seen.icon, c.icon) << c.style;
        EXPECT_EQ(seen.title, QString("Vardeno Prueba"));
        EXPECT_EQ(seen.defaultCaption, c.captions.first());
    }
}

TEST_F(ShownBoxes, EscapeAnswersCancelOrNoWhereThereIsOne)
{
    const QList<QPair<int, int>> cases{
        {mb::OkOnly, mb::Ok},          {mb::OkCancel, mb::Cancel},    {mb::YesNoCancel, mb::Cancel},
        {mb::YesNo, mb::No},           {mb::RetryCancel, mb::Cancel},
    };
    for (const auto& [style, expected] : cases) {
        whenModalShown([](QWidget* modal) { pressEscape(modal); });
        EXPECT_EQ(messageBox("texto", style, "T"), expected) << style;
    }

    // Abort, Retry, Ignore has neither: Escape leaves the box open.
    bool stillOpen = false;
    whenModalShown([&](QWidget* modal) {
        pressEscape(modal);
        stillOpen = modal->isVisible();
        buttonCaptioned(qobject_cast<QMessageBox*>(modal), "&Omitir")->click();
    });
    EXPECT_EQ(messageBox("texto", mb::AbortRetryIgnore, "T"), mb::Ignore);
    EXPECT_TRUE(stillOpen);
}

TEST_F(ShownBoxes, AltAndTheMarkedLetterAnswerAndEnterTakesTheDefault)
{
    REQUIRE_DISPLAY();
    const struct {
        int style;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int answer;
    } cases[] = {
        {mb::YesNo, Qt::Key_S, Qt::AltModifier, mb::Yes},
        {mb::YesNoCancel | mb::DefaultButton3, Qt::Key_N, Qt::AltModifier, mb::No},
        {mb::AbortRetryIgnore, Qt::Key_A, Qt::AltModifier, mb::Abort},
        {mb::AbortRetryIgnore, Qt::Key_R, Qt::AltModifier, mb::Retry},
        {mb::AbortRetryIgnore | mb::DefaultButton2, Qt::Key_O, Qt::AltModifier, mb::Ignore},
        {mb::RetryCancel, Qt::Key_R, Qt::AltModifier, mb::Retry},
        {mb::OkCancel | mb::DefaultButton2, Qt::Key_Return, Qt::NoModifier, mb::Cancel},
        {mb::OkOnly, Qt::Key_Return, Qt::NoModifier, mb::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        whenBoxActive([&c](QMessageBox* box) {
            QTest::keyClick(box, c.key, c.modifiers);
            QTimer::singleShot(30000, box, [box] { // gone long before, when the key answered
                if (!box->isVisible())
                    return;
                ADD_FAILURE() << "the key left the box open";
                box->reject();
            });
        });
        EXPECT_EQ(messageBox("texto", c.style, "T"), c.answer);
    }
}

// --- real forms ---------------------------------------------------------------

TEST_F(ShownForms, ADialogRunsModallyAndGivesItsResult)
{
    QDialog form;
    form.setObjectName("FrmConsultas");
    whenModalShown([&](QWidget* modal) {
        EXPECT_EQ(modal, &form);
        form.done(5);
    });
    EXPECT_EQ(showModal(form), 5);
    EXPECT_FALSE(form.isVisible());
}

// Without a window manager to hand the keyboard on, the window a box or a
// form was shown over has the keyboard again once it is gone.
TEST_F(ShownForms, TheWindowABoxOrFormWasShownOverHasTheKeyboardAgain)
{
    REQUIRE_DISPLAY();
    QWidget ventana;
    ventana.show();
    ventana.activateWindow();
    const auto tieneElTeclado = [&] {
        return x11InputFocus() == ventana.winId() && QApplication::activeWindow() == &ventana;
    };
    // Shown over the window Qt takes for active, the box knows whom to give the keyboard back.
    ASSERT_TRUE(waitUntil(tieneElTeclado));
    const std::function<void()> muestras[] = {
        [] {
            whenBoxActive([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
            messageBox("texto", mb::OkOnly, "T");
        },
        [] {
            QDialog form;
            whenModalShown([](QWidget* modal) { modal->close(); });
            showModal(form);
        },
        [] {
            QWidget form;
            whenModalShown([](QWidget* modal) { modal->close(); });
            showModal(form);
        },
    };
    for (const auto& muestra : muestras) {
        muestra();
        EXPECT_TRUE(waitUntil(tieneElTeclado));
    }
}

// A window disabled while a box stands over it, as the picker is while the
// form it opened runs, is not handed the keyboard as the box closes: with no
// control able to take it then, the keyboard would go nowhere, and the window,
// counted active already, would ask for nothing once enabled again.
TEST_F(ShownForms, AWindowDisabledAsTheBoxClosesGivesItsControlTheKeyboardOnceEnabled)
{
    REQUIRE_DISPLAY();
    QWidget ventana;
    QLineEdit campo(&ventana);
    ventana.show();
    ventana.activateWindow();
    campo.setFocus();
    const auto campoConElTeclado = [&] {
        return x11InputFocus() == ventana.winId() && QApplication::activeWindow() == &ventana
            && QApplication::focusWidget() == &campo;
    };
    ASSERT_TRUE(waitUntil(campoConElTeclado));
    ventana.setEnabled(false);
    whenBoxActive([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    messageBox("texto", mb::OkOnly, "T");
    // While the window is still disabled, Qt learns where the keyboard went,
    // as the picker goes on running events while the form it opened unloads.
    ASSERT_TRUE(waitUntil([&] {
        return (x11InputFocus() == ventana.winId()) == (QGuiApplication::focusWindow() == ventana.windowHandle());
    }));

    ventana.setEnabled(true);
    ventana.activateWindow();

    EXPECT_TRUE(waitUntil(campoConElTeclado));
}

TEST_F(ShownForms, AWidgetIsModalUntilItIsHidden)
{
    QWidget form;
    form.setObjectName("Frm913");
    Qt::WindowModality whileShown = Qt::NonModal;
    whenModalShown([&](QWidget* modal) {
        EXPECT_EQ(modal, &form);
        whileShown = form.windowModality();
        form.close();
    });
    EXPECT_EQ(showModal(form), 0);
    EXPECT_EQ(whileShown, Qt::ApplicationModal);
    EXPECT_EQ(form.windowModality(), Qt::NonModal);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ShownForms, AWidgetDestroyedWhileShownEndsTheWait)
{
    auto* form = new QWidget;
    form->setObjectName("frmPreview");
    form->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QWidget> guard(form);
    whenModalShown([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(showModal(*form), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());

    auto* destroyed = new QWidget;
    whenModalShown([](QWidget* modal) { delete modal; });
    EXPECT_EQ(showModal(*destroyed), 0);
}
