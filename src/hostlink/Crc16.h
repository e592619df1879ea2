// CRC-16/XMODEM (polynomial 0x1021, initial value 0, no reflection, no final XOR).
#pragma once

#include <cstddef>
#include <cstdint>

std::uint16_t Crc16Xmodem(const std::uint8_t* dados, std::size_t tamanho);
