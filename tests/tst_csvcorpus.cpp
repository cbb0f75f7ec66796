// Replays the kept fuzz inputs of the CSV reader: every one must go through without a
// crash or a broken invariant.
#include "fuzz/csv_input.h"
#include "testsupport.h"

#include <QDirIterator>

class CsvCorpusTest : public QObject
{
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void CsvCorpusTest::replay_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator files(QStringLiteral(ZELKORA_TEST_DATA "/../fuzz/corpus"), QDir::Files);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
        ++count;
    }
    QVERIFY2(count > 0, "the corpus is missing");
}

void CsvCorpusTest::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    runCsvInput(reinterpret_cast<const uint8_t*>(input.constData()), static_cast<size_t>(input.size()));
}

ZELKORA_TEST_MAIN(CsvCorpusTest)
#include "tst_csvcorpus.moc"
