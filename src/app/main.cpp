// Program entry.
#include "app/Startup.h"

int main(int argc, char** argv) {
    return zelvo::RunApplication(argc, argv);
}
