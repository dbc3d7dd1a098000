#pragma once

#include <QGuiApplication>

#include <benchmark/benchmark.h>

// The main of a benchmark that draws: drawing text needs a GUI application, but no window is
// shown, so the offscreen platform serves unless one is chosen.
inline int runDrawingBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
