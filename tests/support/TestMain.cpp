// Test entry: an application object (offscreen unless told otherwise) around
// GoogleTest, so that database, model and window tests share one set-up.
// Tests of the core library get a QGuiApplication (pictures and fonts work
// without widgets); tests that show windows get a QApplication.
#ifdef KML_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
