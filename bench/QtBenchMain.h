#pragma once
// The main function of a benchmark of the desktop: offscreen unless a
// platform is named, one application object, then Google Benchmark.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunQtBenchmarks(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
