#include "mainwindow.h"

#include "curvefitter.h"
#include "importexport.h"
#include "spreadsheetwidget.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <qwt_plot.h>

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setMinimumWidth(800);
    setMinimumHeight(600);
    auto* spreadSheet = new SpreadSheetWidget(50, 10, this);
    bindEditingKeys(spreadSheet);
    sheet = spreadSheet;
    setCentralWidget(sheet);
    createMenus();
    connectActions();
    curveFitter = new CurveFitter();
    plot = nullptr;
    importExport = nullptr;
}

MainWindow::~MainWindow()
{
    delete plot;
    delete curveFitter;
}

void MainWindow::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("&File"));
    openAction = new QAction(tr("&Open"), this);
    closeAction = new QAction(tr("&Close"), this);
    fileMenu->addAction(openAction);
    fileMenu->addAction(closeAction);

    fitMenu = menuBar()->addMenu(tr("&Fit"));
    oneCompAction = new QAction(tr("&Single Exponential"), this);
    twoCompAction = new QAction(tr("&Double Exponential"), this);
    doseAction = new QAction(tr("&Insert Dose"), this);
    plotAction = new QAction(tr("&Plot"), this);
    parametersAction = new QAction(tr("&Parameters"), this);
    fitMenu->addAction(oneCompAction);
    fitMenu->addAction(twoCompAction);
    fitMenu->addAction(doseAction);
    fitMenu->addAction(plotAction);
    fitMenu->addAction(parametersAction);

    aboutMenu = menuBar()->addMenu(tr("&About"));
    aboutAction = new QAction(tr("&About Zelkora"), this);
    aboutMenu->addAction(aboutAction);
}

void MainWindow::connectActions()
{
    connect(closeAction, &QAction::triggered, closeAction, &QCoreApplication::quit, Qt::DirectConnection);
    connect(openAction, &QAction::triggered, this, &MainWindow::onFileOpen);
    connect(oneCompAction, &QAction::triggered, this, &MainWindow::on1CompFit);
    connect(twoCompAction, &QAction::triggered, this, &MainWindow::on2CompFit);
    connect(doseAction, &QAction::triggered, this, &MainWindow::onDoseSet);
    connect(plotAction, &QAction::triggered, this, &MainWindow::onPlot);
    connect(parametersAction, &QAction::triggered, this, &MainWindow::onParameters);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::onAbout);
}

void MainWindow::onAbout()
{
    QMessageBox::about(this, QStringLiteral("About Zelkora"),
                       QStringLiteral("Pharmacokinetics fitting software developed by Pellimore "));
}

void MainWindow::onFileOpen()
{
    // Only the newest import names the results windows; the one it replaces would otherwise
    // stay with the window for good, one more hidden dialog per Open.
    delete importExport;
    importExport = new ImportExport(this);
    // The table on screen stays until a new one has been read: a cancelled or failed Open
    // must not lose what the user typed.
    QTableWidget* imported = importExport->importCsv();
    if (!imported)
        return;
    delete sheet;
    sheet = imported;
    setCentralWidget(sheet);
}
