// The whole program as `mojimaru` runs it, but with message boxes that print their text on
// standard output and return at once (answering No): a test starts it as a process and reads
// what it said. Its program folder is the build's, or the one given as its argument.

#include "messages.h"
#include "programrun.h"

#include <cstdio>

namespace {

class PrintedMessages final : public moji::Messages {
public:
    void information(QWidget*, const QString& text) override { print(text); }
    bool question(QWidget*, const QString& text) override
    {
        print(text);
        return false;
    }
    void error(QWidget*, const QString& text) override { print(text); }

private:
    static void print(const QString& text)
    {
        std::printf("%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    PrintedMessages messages;
    moji::RunHooks hooks;
    hooks.programFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(MOJIMARU_PROGRAM_DIR);
    hooks.messages = &messages;
    return moji::runProgram(argc, argv, hooks);
}
