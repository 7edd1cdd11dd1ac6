#include "ReferenceRenderer.h"

#include <QDataStream>
#include <QFile>

#include <cmath>
#include <vector>

namespace {

constexpr int Cap = 128000;
const int Base[6] = {0, 5, 10, 15, 19, 24};
const char Letters[3] = {'a', 'c', 'd'};

struct Work
{
    std::vector<double> placement = std::vector<double>(Cap, 0.0);
    std::vector<double> scratch = std::vector<double>(Cap, 0.0);
    std::vector<double> mix = std::vector<double>(Cap, 0.0);
    int length = 0;
};

int readNoteLiteral(Work &w, const QString &name, const double *starts, int count, double ring)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QDataStream in(&file);
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 id, riffSize, form, fmtId, fmtSize, sampleRate, byteRate, dataId, dataSize;
    quint16 tag, channels, blockAlign, bits;
    in >> id >> riffSize >> form >> fmtId >> fmtSize >> tag >> channels >> sampleRate >> byteRate >>
        blockAlign >> bits >> dataId >> dataSize;
    const int n = int(dataSize / 2);
    const int L = int(n * ring);
    int offset[4];
    for (int k = 0; k < count; ++k)
        offset[k] = int(sampleRate * starts[k]);
    for (int i = 0; i < L; ++i) {
        qint16 v = 0;
        in >> v;
        w.scratch[i] = double(v) * double(L - i) / double(L) * 1.0;
    }
    for (int i = L - 1; i >= 0; --i)
        for (int k = 0; k < count; ++k)
            if (offset[k] + i < Cap)
                w.placement[offset[k] + i] = w.scratch[i];
    int last = offset[0];
    for (int k = 1; k < count; ++k)
        last = std::max(last, offset[k]);
    return last + L;
}

QByteArray waveBytes(const Work &w)
{
    QByteArray bytes = referenceHeader(w.length);
    QDataStream out(&bytes, QIODevice::WriteOnly | QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < w.length; ++i) {
        double u = (w.mix[i] + 1.0) / 2.0 * 65536.0;
        u = u < 0.0 ? 0.0 : (u > 65535.0 ? 65535.0 : u);
        out << qint16(int(u + 0.5) - 32768);
    }
    return bytes;
}

} // namespace

QByteArray referenceHeader(qint64 frames)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(2 * frames + 36);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(16000) << quint32(32000) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(2 * frames);
    return bytes;
}

QByteArray referenceRender(const QString &prefix, const int *fret, const double *timeOffset,
                           const double *strumSpeed, const int *direction, double hold, int gt)
{
    Work w;
    double v[4], gap[3], T[4], start[4][6];
    int note[4][6];
    for (int r = 0; r < 4; ++r)
        v[r] = strumSpeed[r] / 1000.0 * direction[r];
    for (int i = 0; i < 3; ++i)
        gap[i] = timeOffset[i] / 1000.0;
    for (int r = 0; r < 4; ++r)
        for (int j = 0; j < 6; ++j)
            note[r][j] = fret[r * 6 + j] < 0 ? -1 : Base[5 - j] + fret[r * 6 + j];
    T[0] = 0.0;
    for (int r = 1; r < 4; ++r)
        T[r] = T[r - 1] + gap[r - 1];
    for (int r = 0; r < 4; ++r) {
        int c = 0;
        for (int j = 0; j < 6; ++j)
            start[r][j] = v[r] == 0.0 ? T[r] : -100.0;
        for (int step = 0; step < 6 && v[r] != 0.0; ++step) {
            const int j = v[r] > 0.0 ? 5 - step : step;
            if (note[r][j] >= 0)
                start[r][j] = T[r] + c++ * std::abs(v[r]);
        }
    }
    for (int j = 0; j < 6; ++j) {
        bool consumed[4] = {false, false, false, false};
        for (int r = 0; r < 4; ++r) {
            if (consumed[r] || note[r][j] < 0)
                continue;
            double starts[4] = {start[r][j], 0, 0, 0};
            int count = 1;
            for (int r2 = r + 1; r2 < 4; ++r2)
                if (!consumed[r2] && note[r2][j] == note[r][j]) {
                    starts[count++] = start[r2][j];
                    consumed[r2] = true;
                }
            QString name;
            if (gt >= 0 && gt <= 2)
                name = prefix + Letters[gt] + QString::asprintf("%02d.wav", note[r][j]);
            const int end =
                name.isEmpty() ? -1 : readNoteLiteral(w, name, starts, count, hold / 100.0);
            if (end > w.length)
                w.length = end;
            for (int i = 0; i < end && i < Cap; ++i)
                w.mix[i] += w.placement[i];
            std::fill(w.placement.begin(), w.placement.end(), 0.0);
            std::fill(w.scratch.begin(), w.scratch.end(), 0.0);
            consumed[r] = true;
        }
    }
    w.length = std::min(w.length, Cap);
    double peak = 0.0;
    for (int i = 0; i < w.length; ++i)
        peak = std::max(peak, std::abs(w.mix[i]));
    for (int i = 0; i < w.length && peak > 0.0; ++i)
        w.mix[i] *= 1.0 / peak;
    return waveBytes(w);
}
