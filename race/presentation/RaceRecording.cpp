#include "RaceRecording.h"

#include <algorithm>

namespace sw {

namespace {

// Word layout: kind in bits 0..3, entry in 4..6, leg in 7..10, bit 11 set when the value follows
// in the next word, else the value in bits 12..31 as a signed 20-bit number.
constexpr int ValueShift = 12;
constexpr uint32_t WideBit = 1u << 11;
constexpr int32_t InlineMax = (1 << 19) - 1;
constexpr int32_t InlineMin = -(1 << 19);

struct Decoded {
    RaceRecording::Kind kind;
    int entry;
    int leg;
    int32_t value;
    std::size_t next;
};

Decoded decode(const std::vector<uint32_t>& words, std::size_t at) {
    const uint32_t w = words[at];
    Decoded d{static_cast<RaceRecording::Kind>(w & 0xFu), static_cast<int>((w >> 4) & 0x7u),
              static_cast<int>((w >> 7) & 0xFu), 0, at + 1};
    if (w & WideBit) {
        if (at + 1 < words.size())
            d.value = static_cast<int32_t>(words[at + 1]);
        d.next = at + 2;
    } else {
        // Arithmetic shift of the top 20 bits brings back the sign.
        d.value = static_cast<int32_t>(w) >> ValueShift;
    }
    return d;
}

} // namespace

void RaceRecording::clear() {
    m_start = TrackView{};
    m_hasStart = false;
    m_words.clear();
    m_texts.clear();
    m_passes = 0;
}

void RaceRecording::setStart(const TrackView& view) {
    m_start = view;
    m_hasStart = true;
}

void RaceRecording::add(Kind kind, int entry, int leg, int32_t value) {
    uint32_t w = static_cast<uint32_t>(kind) | (static_cast<uint32_t>(entry & 0x7) << 4) |
                 (static_cast<uint32_t>(std::clamp(leg, 0, 15)) << 7);
    const bool wide = value < InlineMin || value > InlineMax;
    if (wide) {
        m_words.push_back(w | WideBit);
        m_words.push_back(static_cast<uint32_t>(value));
    } else {
        m_words.push_back(w | (static_cast<uint32_t>(value) << ValueShift));
    }
    if (kind == Kind::PassEnd)
        ++m_passes;
}

void RaceRecording::addFraction(int mark, std::string_view text) {
    m_texts.emplace_back(text);
    // The mark rides in the leg field, the text's index in the value.
    add(Kind::Fraction, 0, std::clamp(mark, 0, 15), static_cast<int32_t>(m_texts.size() - 1));
}

std::size_t RaceRecording::playPass(std::size_t at, RaceObserver& to) const {
    while (at < m_words.size()) {
        const Decoded d = decode(m_words, at);
        at = d.next;
        switch (d.kind) {
        case Kind::RaceStarted:
            to.raceStarted();
            break;
        case Kind::Moved:
            to.entryMoved(d.entry, d.value, d.leg);
            break;
        case Kind::LaneSet:
            to.laneSet(d.entry, d.leg, d.value);
            break;
        case Kind::Phase:
            to.phaseChanged(d.value);
            break;
        case Kind::Gallop:
            to.gallop();
            break;
        case Kind::Call:
            // The count rides in the value's high bits, the mark in its low two.
            to.callPassed(d.value & 0x3, d.entry, d.value >> 2);
            break;
        case Kind::Fraction:
            if (d.value >= 0 && static_cast<std::size_t>(d.value) < m_texts.size())
                to.fractionTime(d.leg, m_texts[static_cast<std::size_t>(d.value)]);
            break;
        case Kind::FinishLine:
            to.finishLineShown();
            break;
        case Kind::CallHidden:
            to.callHidden();
            break;
        case Kind::Placed:
            to.entryPlaced(d.entry, d.value);
            break;
        case Kind::Photo:
            to.photoFinishRaised();
            break;
        case Kind::Ended:
            to.raceEnded();
            break;
        case Kind::PassEnd:
            return at;
        }
    }
    return at;
}

int RaceRecording::passOfPlacing(int place) const {
    // Placings come in finishing order, so the count is the place whatever number the race sent.
    int pass = 0;
    int placed = 0;
    for (std::size_t at = 0; at < m_words.size();) {
        const Decoded d = decode(m_words, at);
        at = d.next;
        if (d.kind == Kind::PassEnd)
            ++pass;
        else if (d.kind == Kind::Placed && placed++ == place)
            return pass;
    }
    return -1;
}

int RaceRecording::placedCount() const {
    int placed = 0;
    for (std::size_t at = 0; at < m_words.size();) {
        const Decoded d = decode(m_words, at);
        at = d.next;
        if (d.kind == Kind::Placed)
            ++placed;
    }
    return placed;
}

} // namespace sw
