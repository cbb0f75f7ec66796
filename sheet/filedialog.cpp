#include "filedialog.h"

#include <QFileDialog>
#include <optional>

namespace {

std::optional<QString> queuedAnswer;
FileDialog::Request lastAsked;

} // namespace

QString FileDialog::getOpenFileName(const QString& caption, const QString& directory, const QString& filter)
{
    lastAsked = {caption, directory, filter};
    if (queuedAnswer) {
        const QString answer = *queuedAnswer;
        queuedAnswer.reset();
        return answer;
    }
    return QFileDialog::getOpenFileName(nullptr, caption, directory, filter);
}

void FileDialog::setNextOpenFileName(const QString& fileName)
{
    queuedAnswer = fileName;
}

FileDialog::Request FileDialog::lastRequest()
{
    return lastAsked;
}
