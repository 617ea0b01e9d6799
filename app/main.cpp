#include "app/Main.h"
#include "toolkit/ZafApplication.h"

int main(int argc, char** argv) {
    return ZafEntry(argc, argv, tolm::Main);
}
