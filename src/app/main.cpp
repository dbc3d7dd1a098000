// Program entry.

#include "programrun.h"

int main(int argc, char* argv[])
{
    return moji::runProgram(argc, argv);
}
