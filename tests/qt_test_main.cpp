// Test entry for the programs that need a QApplication (widgets in the offscreen platform).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The tests read the Russian texts whatever the machine's locale, unless a test asks for
    // another language.
    if (qEnvironmentVariableIsEmpty("HARMIK_LANGUAGE"))
        qputenv("HARMIK_LANGUAGE", "ru");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
