#include "sound.h"

#include "pitch.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace moji::audio {

using content::Problems;
using content::Row;

namespace {

struct Partial {
    double ratio;     // of the fundamental
    double amplitude; // relative
    double decay;     // 1/s on top of the tone's own decay, so high partials fade first
};

std::vector<Partial> partials(Tone::Wave wave)
{
    switch (wave) {
    case Tone::Wave::Sine:
        return {{1, 1, 0}};
    case Tone::Wave::Bell: // the modes of a struck metal bar, plus a soft octave for warmth
        return {{1, 1, 0}, {2, 0.2, 4}, {2.76, 0.35, 8}, {5.40, 0.12, 16}};
    case Tone::Wave::Soft:
        return {{1, 1, 0}, {2, 0.3, 0}, {3, 0.1, 0}};
    case Tone::Wave::Buzz: // a sawtooth with its top rolled off
        return {{1, 1, 0}, {2, 0.45, 0}, {3, 0.3, 0}, {4, 0.18, 0}, {5, 0.12, 0}, {6, 0.07, 0}, {7, 0.05, 0}};
    }
    return {};
}

std::optional<double> number(const QString& text, double low, double high)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !(v >= low && v <= high))
        return std::nullopt;
    return v;
}

std::optional<double> frequency(const QString& text)
{
    if (text.endsWith(QLatin1String("Hz")))
        return number(text.chopped(2), 20, 20000);
    if (const auto key = parsePitch(text))
        return keyFrequency(*key);
    return std::nullopt;
}

void readTone(const QStringList& words, SoundRecipe& recipe, const QString& where, Problems& problems)
{
    Tone tone;
    bool hasLength = false;
    bool hasPitch = false;
    const double nyquist = recipe.rate / 2.0;
    if (words.size() % 2 == 0) {
        problems.add(where, QStringLiteral("expected \"tone\" then pairs of setting and value"));
        return;
    }
    for (qsizetype i = 1; i + 1 < words.size(); i += 2) {
        const QString& key = words[i];
        const QString& value = words[i + 1];
        auto set = [&](double& field, double low, double high, const char* unit) {
            if (const auto v = number(value, low, high))
                field = *v;
            else
                problems.add(where, QStringLiteral("%1 must be from %2 to %3 %4").arg(key).arg(low).arg(high).arg(QLatin1String(unit)));
        };
        if (key == QLatin1String("at")) {
            set(tone.at, 0, 5, "seconds");
        } else if (key == QLatin1String("length")) {
            set(tone.length, 0.01, 5, "seconds");
            hasLength = true;
        } else if (key == QLatin1String("pitch") || key == QLatin1String("glide")) {
            const auto f = frequency(value);
            if (!f || *f >= nyquist)
                problems.add(where, QStringLiteral("%1 \"%2\" is not a note such as E6 nor a frequency below %3Hz").arg(key, value).arg(nyquist));
            else
                (key == QLatin1String("pitch") ? tone.pitch : tone.glideTo) = *f;
            hasPitch = hasPitch || key == QLatin1String("pitch");
        } else if (key == QLatin1String("wave")) {
            if (value == QLatin1String("sine"))
                tone.wave = Tone::Wave::Sine;
            else if (value == QLatin1String("bell"))
                tone.wave = Tone::Wave::Bell;
            else if (value == QLatin1String("soft"))
                tone.wave = Tone::Wave::Soft;
            else if (value == QLatin1String("buzz"))
                tone.wave = Tone::Wave::Buzz;
            else
                problems.add(where, QStringLiteral("unknown wave \"%1\"; known: sine, bell, soft, buzz").arg(value));
        } else if (key == QLatin1String("attack")) {
            // Shorter than 2 ms, a start is heard as a click.
            set(tone.attack, 0.002, 5, "seconds");
        } else if (key == QLatin1String("decay")) {
            set(tone.decay, 0, 100, "per second");
        } else if (key == QLatin1String("release")) {
            set(tone.release, 0.005, 5, "seconds");
        } else if (key == QLatin1String("level")) {
            set(tone.level, 0.01, 1, "");
        } else if (key == QLatin1String("vibrato")) {
            set(tone.vibrato, 0, 40, "Hz");
        } else if (key == QLatin1String("depth")) {
            set(tone.depth, 0, 12, "semitones");
        } else {
            problems.add(where, QStringLiteral("unknown tone setting \"%1\"; known: at, length, pitch, glide, wave, "
                                               "attack, decay, release, level, vibrato, depth").arg(key));
        }
    }
    if (!hasLength || !hasPitch) {
        problems.add(where, QStringLiteral("a tone needs a length and a pitch"));
        return;
    }
    if (tone.attack + tone.release > tone.length)
        problems.add(where, QStringLiteral("attack and release are longer than the tone"));
    const double highest = std::max(tone.pitch, tone.glideTo) * std::exp2(tone.depth / 12);
    if (highest >= nyquist)
        problems.add(where, QStringLiteral("the tone rises above %1Hz").arg(nyquist));
    recipe.tones.push_back(tone);
}

} // namespace

double SoundRecipe::seconds() const
{
    double end = 0;
    for (const Tone& t : tones)
        end = std::max(end, t.at + t.length);
    return end;
}

SoundRecipe readSound(const QString& path, Problems& problems)
{
    const QString name = QFileInfo(path).fileName();
    SoundRecipe recipe;
    static const QRegularExpression comment(QStringLiteral("(^|\\s)#.*$"));
    for (const Row& row : content::readTable(path, false)) {
        QString text = row.fields.join(QLatin1Char('\t'));
        text.remove(comment);
        const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        if (words[0] == QLatin1String("rate") && words.size() == 2
            && (words[1] == QLatin1String("22050") || words[1] == QLatin1String("44100"))) {
            recipe.rate = words[1].toInt();
        } else if (words[0] == QLatin1String("peak") && words.size() == 2 && number(words[1], -12, -1)) {
            recipe.peak = words[1].toDouble();
        } else if (words[0] == QLatin1String("tone")) {
            readTone(words, recipe, row.where(), problems);
        } else {
            problems.add(row.where(), QStringLiteral("expected \"rate 22050|44100\", \"peak <-12 to -1 dBFS>\" or \"tone ...\""));
        }
    }
    if (recipe.tones.empty())
        problems.add(name, QStringLiteral("no tones"));
    else if (std::none_of(recipe.tones.begin(), recipe.tones.end(), [](const Tone& t) { return t.at == 0; }))
        problems.add(name, QStringLiteral("a sound effect must start at once: give a tone at 0"));
    if (recipe.seconds() > 5)
        problems.add(name, QStringLiteral("longer than 5 seconds"));
    return recipe;
}

std::vector<int16_t> synthesise(const SoundRecipe& recipe)
{
    constexpr double Tau = 2 * std::numbers::pi;
    const double rate = recipe.rate;
    std::vector<double> mix(std::size_t(std::lround(recipe.seconds() * rate)) + 1, 0.0);
    for (const Tone& tone : recipe.tones) {
        const auto first = std::size_t(std::lround(tone.at * rate));
        const auto count = std::size_t(std::lround(tone.length * rate)) + 1;
        const double highest = std::max(tone.pitch, tone.glideTo) * std::exp2(tone.depth / 12);
        std::vector<Partial> heard;
        for (const Partial& p : partials(tone.wave)) {
            if (p.ratio * highest < 0.45 * rate) // nothing folds back below the limit
                heard.push_back(p);
        }
        double phase = 0;
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = double(i) / rate;
            const double through = std::min(1.0, t / tone.length);
            double f = tone.glideTo > 0 ? tone.pitch * std::pow(tone.glideTo / tone.pitch, through) : tone.pitch;
            f *= std::exp2(tone.depth * (1 - through) * std::sin(Tau * tone.vibrato * t) / 12);

            double gain = tone.level * std::exp(-tone.decay * t);
            if (t < tone.attack)
                gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * t / tone.attack);
            const double fadeFrom = tone.length - tone.release;
            if (t > fadeFrom)
                gain *= 0.5 + 0.5 * std::cos(std::numbers::pi * std::min(1.0, (t - fadeFrom) / tone.release));

            double sample = 0;
            for (const Partial& p : heard)
                sample += p.amplitude * std::exp(-p.decay * t) * std::sin(p.ratio * phase);
            mix[first + i] += gain * sample;
            phase += Tau * f / rate; // never wrapped: the bell's partials are not whole multiples
        }
    }

    double loudest = 0;
    for (const double s : mix)
        loudest = std::max(loudest, std::abs(s));
    const double scale = loudest > 0 ? std::pow(10.0, recipe.peak / 20) * 32767 / loudest : 0;
    std::vector<int16_t> samples;
    samples.reserve(mix.size());
    for (const double s : mix)
        samples.push_back(int16_t(std::clamp(std::lround(s * scale), -32767L, 32767L)));
    return samples;
}

QByteArray waveFile(const std::vector<int16_t>& samples, int rate)
{
    auto u32 = [](QByteArray& out, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [](QByteArray& out, uint16_t v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    const auto dataBytes = uint32_t(samples.size() * 2);
    QByteArray out("RIFF");
    u32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    u32(out, 16);
    u16(out, 1); // PCM
    u16(out, 1); // mono
    u32(out, uint32_t(rate));
    u32(out, uint32_t(rate) * 2); // bytes per second
    u16(out, 2);                  // bytes per sample frame
    u16(out, 16);                 // bits per sample
    out += "data";
    u32(out, dataBytes);
    for (const int16_t s : samples)
        u16(out, uint16_t(s));
    return out;
}

} // namespace moji::audio
