#pragma once

#include <QMainWindow>
#include <QPoint>

class QAction;
class QMenu;
class QTableWidget;
class QwtPlot;
class CurveFitter;
class ImportExport;

// The main window: the sample table as central widget and the File, Fit and About menus.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    QTableWidget* table() const { return sheet; }
    CurveFitter* fitter() const { return curveFitter; }
    ImportExport* lastImport() const { return importExport; }
    QwtPlot* plotWindow() const { return plot; }

private slots:
    void onFileOpen();
    void on1CompFit();
    void on2CompFit();
    void onDoseSet();
    void onPlot();
    void onAbout();
    void onParameters();

private:
    void createMenus();
    void connectActions();
    // The complete (time, concentration) rows of the table, in row order.
    bool readSamples(QVector<double>& times, QVector<double>& concentrations) const;
    // Shows a report in a new results window at the given place and puts it on the clipboard.
    void showReport(const QString& report, const QPoint& position);

    QTableWidget* sheet;
    ImportExport* importExport = nullptr;
    CurveFitter* curveFitter = nullptr;
    QMenu* fileMenu;
    QAction* openAction;
    QAction* closeAction;
    QMenu* fitMenu;
    QAction* doseAction;
    QAction* oneCompAction;
    QAction* twoCompAction;
    QAction* parametersAction;
    QAction* plotAction;
    QwtPlot* plot = nullptr;
    QMenu* aboutMenu;
    QAction* aboutAction;
};
