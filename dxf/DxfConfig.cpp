#include "dxf/DxfConfig.h"

#include <climits>
#include <cstdio>

#include "dxf/ScanNumber.h"
#include "plot/Archive.h"
#include "plot/FileError.h"
#include "plot/NumberText.h"

namespace {
// A configuration file is a few hundred bytes; anything past this is not read.
constexpr std::size_t kMaxFileSize = 1 << 20;

// Matches the text the way fscanf matches "%s", "%d", "%lf", a literal and a white-space
// directive in the "C" locale, stopping for good at the first field that does not match.
class ConfigScanner {
  public:
    explicit ConfigScanner(std::string text) : m_text(std::move(text)), m_pos(0) {}

    int Matched() const { return m_matched; }

    void Word(std::string& out) {
        if (m_failed) return;
        SkipSpace();
        std::size_t start = m_pos;
        while (m_pos < m_text.size() && !IsCSpace(m_text[m_pos])) ++m_pos;
        if (m_pos == start) return Fail();
        std::size_t len = m_pos - start;
        out.assign(m_text, start, len < kMaxLayerName ? len : kMaxLayerName);
        ++m_matched;
    }

    void Int(int& out) {
        if (m_failed) return;
        long v = 0;
        const std::size_t used = ScanLong(Rest(), End(), v);
        if (used == 0) return Fail();
        // Out of range saturates instead of wrapping.
        out = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
        m_pos += used;
        ++m_matched;
    }

    void Double(double& out) {
        if (m_failed) return;
        const std::size_t used = ScanDouble(Rest(), End(), out);
        if (used == 0) return Fail();
        m_pos += used;
        ++m_matched;
    }

    void Literal(char c) {
        if (m_failed) return;
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
        } else {
            Fail();
        }
    }

    void SkipSpace() {
        while (m_pos < m_text.size() && IsCSpace(m_text[m_pos])) ++m_pos;
    }

  private:
    void Fail() { m_failed = true; }
    const char* Rest() const { return m_text.data() + m_pos; }
    const char* End() const { return m_text.data() + m_text.size(); }

    std::string m_text;
    std::size_t m_pos;
    int m_matched = 0;
    bool m_failed = false;
};

bool ReadFile(const std::string& path, std::string& text) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char buf[4096];
    std::size_t n;
    while (text.size() < kMaxFileSize && (n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        text.append(buf, n);
    }
    std::fclose(f);
    if (text.size() > kMaxFileSize) text.resize(kMaxFileSize);
    return true;
}

// "%lf,%lf,%lf,%lf,%lf\n" of one corner: world values first, then paper.
void ScanCorner(ConfigScanner& in, DxfSettings& p, int k) {
    double* fields[5] = {&p.easting[k], &p.northing[k], &p.elevation[k], &p.paperX[k],
                         &p.paperY[k]};
    for (int i = 0; i < 5; ++i) {
        if (i > 0) in.Literal(',');
        in.Double(*fields[i]);
    }
    in.SkipSpace();
}
}  // namespace

int ReadDxfConfig(const std::string& path, DxfSettings& p) {
    std::string text;
    if (!ReadFile(path, text)) return -1;
    ConfigScanner in(std::move(text));
    for (int i = 0; i < 8; ++i) {
        in.Word(p.layerName[i]);
        in.SkipSpace();
        in.Int(p.layerColor[i]);
        in.SkipSpace();
    }
    for (int k = 0; k < 3; ++k) ScanCorner(in, p, k);
    in.Int(p.unitsIndex);
    in.Literal(',');
    in.Double(p.originalScale);
    in.Literal(',');
    in.Int(p.conversionIndex);
    return in.Matched();
}

std::string DxfConfigText(const DxfSettings& p) {
    std::string text;
    char number[kMaxFixed];
    auto integer = [&](int v) { text.append(number, FormatInt(number, v, 0)); };
    auto fixed = [&](double v) { text.append(number, FormatFixed(number, v, 0, 6)); };  // "%lf"
    for (int i = 0; i < 8; ++i) {
        text += p.layerName[i];
        text += '\n';
        integer(p.layerColor[i]);
        text += '\n';
    }
    for (int k = 0; k < 3; ++k) {
        for (double v : {p.easting[k], p.northing[k], p.elevation[k], p.paperX[k], p.paperY[k]}) {
            fixed(v);
            text += ',';
        }
        text.back() = '\n';
    }
    integer(p.unitsIndex);
    text += ',';
    fixed(p.originalScale);
    text += ',';
    integer(p.conversionIndex);
    text += '\n';
    return text;
}

bool WriteDxfConfig(const std::string& path, const DxfSettings& p) {
    const std::string text = DxfConfigText(p);
    try {
        Archive out = Archive::CreateForStore(path);
        out.Write(text.data(), text.size());
        out.Commit();
    } catch (const FileError&) {
        return false;
    }
    return true;
}

DxfSettings NewDocumentSettings(const std::string& lastConfigPath) {
    DxfSettings settings;
    ReadDxfConfig(lastConfigPath, settings);
    return settings;
}
