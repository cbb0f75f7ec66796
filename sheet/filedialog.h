#pragma once

#include <QString>

// The one way Zelkora asks for a file to open. Tests queue the answer instead of the
// system dialog and read back what was asked.
class FileDialog
{
public:
    struct Request
    {
        QString caption;
        QString directory;
        QString filter;
    };

    static QString getOpenFileName(const QString& caption, const QString& directory, const QString& filter);

    // The next getOpenFileName returns this instead of showing the dialog (an empty name is
    // a cancelled dialog).
    static void setNextOpenFileName(const QString& fileName);
    static Request lastRequest();
};
