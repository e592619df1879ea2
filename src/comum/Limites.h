// Fixed sizes that the file formats, the host frames and the log rely on.
#pragma once

#include <cstddef>

// A path or file name is held in 260 characters: at most 259 and the terminator.
inline constexpr std::size_t TAM_CAMINHO = 260;
inline constexpr std::size_t TAM_MAX_CAMINHO = TAM_CAMINHO - 1;

// A transaction's message text: at most 1,023 characters and the terminator.
inline constexpr std::size_t TAM_MENSAGEM = 1024;

// Slots of a transaction's field table.
inline constexpr int MAX_CAMPOS = 256;

// The banner of the service, also the window caption.
inline constexpr const char* BANNER_ZELP = "Servidor ZELP V00.68";
