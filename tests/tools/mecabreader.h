#pragma once

#include <QString>

#include <memory>
#include <vector>

// Morphological analysis with MeCab and the IPA dictionary, to check that a sentence reads
// its kanji the way a question says.
class MecabReader {
public:
    struct Token {
        QString surface;
        QString reading; // hiragana; empty when the dictionary has none
    };

    MecabReader();
    ~MecabReader();
    bool isValid() const { return m_tagger != nullptr; }
    QString error() const { return m_error; }

    std::vector<Token> analyse(const QString& sentence) const;

private:
    struct Deleter {
        void operator()(void* tagger) const;
    };
    std::unique_ptr<void, Deleter> m_taggerOwner;
    void* m_tagger = nullptr;
    QString m_error;
};
