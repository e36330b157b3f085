#include "tools/odbcsetup/OdbcSetup.h"

int main(int argc, char** argv) {
    return tvane::RunOdbcSetup(tvane::JoinCommandLine(argc, argv));
}
