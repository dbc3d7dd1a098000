#pragma once

// The hand pointer drawn by picturegen into <build>/generated/hand-cursor.png (32 x 32, with
// transparency): its hotspot is the tip of the raised index finger.
namespace moji {

constexpr int HandCursorHotX = 12;
constexpr int HandCursorHotY = 1;

} // namespace moji
