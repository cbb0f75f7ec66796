#pragma once

#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// Runs the scripted stand-in for the fit module from a temporary working directory: each
// answer is set before the fit and each call can be read back after it.
class ScriptedFit
{
public:
    ScriptedFit()
    {
        QFile source(QStringLiteral(ZELKORA_TEST_DATA "/scripted_fit.py"));
        source.open(QIODevice::ReadOnly);
        writeFile(folder.filePath(QStringLiteral("fit.py")), source.readAll());
        QDir::setCurrent(folder.path());
    }

    void answerValues(const QVector<double>& values)
    {
        QJsonArray array;
        for (double value : values)
            array.append(std::isfinite(value) ? QJsonValue(value) : QJsonValue(QString::number(value)));
        answer(QJsonObject{{"kind", "list"}, {"value", array}});
    }
    void answerText(const QString& text) { answer(QJsonObject{{"kind", "str"}, {"value", text}}); }
    void answerRaise(const QString& message) { answer(QJsonObject{{"kind", "raise"}, {"value", message}}); }
    void answerNone() { answer(QJsonObject{{"kind", "none"}}); }
    // kind is "list" (the values), "str" (the text), "raise" (the text as the message) or "none".
    void answerAs(const QString& kind, const QVector<double>& values, const QString& text)
    {
        if (kind == QLatin1String("str"))
            answerText(text);
        else if (kind == QLatin1String("raise"))
            answerRaise(text);
        else if (kind == QLatin1String("none"))
            answerNone();
        else
            answerValues(values);
    }

    // The arguments of the last call, each tuple as an array.
    QJsonArray lastArguments() const { return lastCall().value("args").toArray(); }
    QString lastFunction() const { return lastCall().value("function").toString(); }
    void forgetLastCall() { QFile::remove(folder.filePath(QStringLiteral("calls.json"))); }

    QString path() const { return folder.path(); }

private:
    void answer(const QJsonObject& wanted)
    {
        writeFile(folder.filePath(QStringLiteral("answer.json")), QJsonDocument(wanted).toJson());
    }
    QJsonObject lastCall() const
    {
        QFile file(folder.filePath(QStringLiteral("calls.json")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    QTemporaryDir folder;
};
