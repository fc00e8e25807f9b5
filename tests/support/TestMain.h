#pragma once

#include "store/AppIdentity.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QTest>

// Runs several test classes in one executable, in a private environment and with the
// application named as the program names itself.
namespace TestMain {

inline void nameApplication()
{
    QCoreApplication::setApplicationName(QLatin1String(AppIdentity::applicationName));
    QCoreApplication::setApplicationVersion(QLatin1String(AppIdentity::applicationVersion));
    QCoreApplication::setOrganizationName(QLatin1String(AppIdentity::organizationName));
    QCoreApplication::setOrganizationDomain(QLatin1String(AppIdentity::organizationDomain));
}

template <typename Test>
int runOne(int argc, char **argv)
{
    TestEnvironment::reset();
    Test test;
    return QTest::qExec(&test, argc, argv);
}

template <typename... Tests>
int run(int argc, char **argv)
{
    int failures = 0;
    ((failures += runOne<Tests>(argc, argv)), ...);
    // A box between test functions failed none of them; it fails the program.
    return failures + TestMessages::unexpectedOutsideTests();
}

} // namespace TestMain

#define BRISAVELA_TEST_MAIN(...)                                          \
    int main(int argc, char **argv)                                       \
    {                                                                     \
        TestEnvironment::prepareProcess();                                \
        QApplication app(argc, argv);                                     \
        TestMain::nameApplication();                                      \
        return TestMain::run<__VA_ARGS__>(argc, argv);                    \
    }
