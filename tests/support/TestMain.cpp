// Shared entry point of every test executable: tests that host windows or COM
// objects run on a single-threaded apartment, like the launcher's GUI thread.
#include <gtest/gtest.h>
#include <objbase.h>
#include <ole2.h>

int wmain(int argc, wchar_t** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
