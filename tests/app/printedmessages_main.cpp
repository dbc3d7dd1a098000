// The whole program as `mojimaru` runs it, but with message boxes that print their text on
// standard output and return at once, answering No (Yes when "yes" follows the folder): a test
// starts it as a process and reads what it said. Its program folder is the build's, or the one
// given as its first argument.

#include "messages.h"
#include "programrun.h"

#include <cstdio>
#include <cstring>

namespace {

class PrintedMessages final : public moji::Messages {
public:
    explicit PrintedMessages(bool answerYes) : m_answerYes(answerYes) {}
    void information(QWidget*, const QString& text) override { print(text); }
    bool question(QWidget*, const QString& text) override
    {
        print(text);
        return m_answerYes;
    }
    void error(QWidget*, const QString& text) override { print(text); }

private:
    static void print(const QString& text)
    {
        std::printf("%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    }
    bool m_answerYes;
};

} // namespace

int main(int argc, char* argv[])
{
    PrintedMessages messages(argc > 2 && std::strcmp(argv[2], "yes") == 0);
    moji::RunHooks hooks;
    hooks.programFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(MOJIMARU_PROGRAM_DIR);
    hooks.messages = &messages;
    return moji::runProgram(argc, argv, hooks);
}
