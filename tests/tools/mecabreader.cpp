#include "mecabreader.h"

#include "kanjifacts.h"

#include <QFileInfo>
#include <QStringList>

#include <mecab.h>

void MecabReader::Deleter::operator()(void* tagger) const
{
    mecab_destroy(static_cast<mecab_t*>(tagger));
}

MecabReader::MecabReader()
{
    // Always the IPA dictionary: MeCab's default changes with what else is installed.
    const char* dictionary = "/var/lib/mecab/dic/ipadic-utf8";
    if (!QFileInfo::exists(QLatin1String(dictionary))) {
        m_error = QStringLiteral("the IPA dictionary is not installed (mecab-ipadic-utf8)");
        return;
    }
    const QByteArray args = QByteArrayLiteral("-d ") + dictionary;
    mecab_t* tagger = mecab_new2(args.constData());
    if (!tagger) {
        m_error = QString::fromUtf8(mecab_strerror(nullptr));
        return;
    }
    m_tagger = tagger;
    m_taggerOwner.reset(tagger);
}

MecabReader::~MecabReader() = default;

std::vector<MecabReader::Token> MecabReader::analyse(const QString& sentence) const
{
    std::vector<Token> tokens;
    const QByteArray utf8 = sentence.toUtf8();
    const mecab_node_t* node = mecab_sparse_tonode2(static_cast<mecab_t*>(m_tagger), utf8.constData(), std::size_t(utf8.size()));
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        Token t;
        t.surface = QString::fromUtf8(node->surface, node->length);
        // IPA dictionary features: part of speech …, base form, reading (katakana), pronunciation.
        const QStringList features = QString::fromUtf8(node->feature).split(QLatin1Char(','));
        if (features.size() > 7 && features[7] != QLatin1String("*"))
            t.reading = moji::content::toHiragana(features[7]);
        tokens.push_back(t);
    }
    return tokens;
}
