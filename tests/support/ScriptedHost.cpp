#include "support/ScriptedHost.h"

int ScriptedHost::alert(const platform::AlertRequest& request)
{
    alerts.append({request, QThread::currentThread()});
    if (whileAlertOpen)
        whileAlertOpen();
    if (alertAnswers.empty())
        return request.defaultButton;
    const QString wanted = alertAnswers.front();
    alertAnswers.pop_front();
    const int index = request.buttons.indexOf(wanted);
    return index >= 0 ? index : request.defaultButton;
}

int ScriptedHost::runModal(QDialog& dialog)
{
    modalRuns << QString::fromLatin1(dialog.metaObject()->className());
    if (modalScripts.empty())
        return 0;
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    return script(dialog);
}

platform::PanelResult ScriptedHost::panel(const platform::PanelRequest& request)
{
    panels.append(request);
    if (panelAnswers.empty())
        return {};
    auto result = panelAnswers.front();
    panelAnswers.pop_front();
    return result;
}

bool ScriptedHost::openWithDefaultApp(const QUrl& url)
{
    opened << url;
    return openSucceeds;
}

QStringList ScriptedHost::alertTexts() const
{
    QStringList out;
    for (const auto& a : alerts) {
        QString t = a.request.text;
        if (t.startsWith('\n'))
            t.remove(0, 1);
        out << t;
    }
    return out;
}

QColor ScriptedHost::chooseColor(const QColor&, const QString&)
{
    if (colorAnswers.empty())
        return QColor();
    const QColor c = colorAnswers.front();
    colorAnswers.pop_front();
    return c;
}
