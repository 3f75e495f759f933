// Test entry for the programs that need no application object: the libraries without widgets,
// also where they are built without Qt.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
