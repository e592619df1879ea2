// What the main window is and does whatever toolkit draws it (Qt on Linux, Win32 on Windows): its
// names, texts and sizes, and the rules of its timer and its list, so that both windows keep them alike.
#pragma once

#include <atomic>
#include <string>

#include "comum/Limites.h"

namespace janela {

// The single-instance test looks for a top-level window of this class with the banner as caption.
inline constexpr const char* CLASSE = "TfrmMain";
inline constexpr const char* TITULO = BANNER_ZELP;

// Sizes in pixels at 96 dots per inch; a screen of more dots per inch scales them.
inline constexpr int LARGURA_CLIENTE = 649;
inline constexpr int ALTURA_CLIENTE = 465;
inline constexpr int ALTURA_LINHA = 13;
inline constexpr const char* FONTE = "Tahoma";
inline constexpr int ALTURA_FONTE = 11;  // the characters' height, without the line's leading
inline constexpr int LADO_ICONE = 24;

inline constexpr const char* MENU_ARQUIVO = "&Arquivo";
inline constexpr const char* MENU_SAIR = "&Sair";
inline constexpr const char* MENU_ABRIR = "&Abrir janela ZELP";  // the tray menu's default item
inline constexpr const char* MENU_ENCERRAR = "&Encerrar ZELP";
inline constexpr const char* DICA_BANDEJA = "ZELP";

// Timer1 and the tray icon's animation tick once a second.
inline constexpr unsigned INTERVALO_TIMER = 1000;
// The program's exit status when it ends because the service thread has ended (a fatal error).
inline constexpr int CODIGO_SAIDA_SERVICO = 1;

// Timer1's rule: once the service thread has set its flag, the program ends with CODIGO_SAIDA_SERVICO.
inline bool ServicoTerminou(const std::atomic<bool>& servicoEncerrado) { return servicoEncerrado.load(); }

// A row of the list is one text line: line breaks and other control characters (the service's fatal
// messages begin with one) would leave the row looking empty or cut, so they show as spaces. Bytes of
// 0x80 and above are left alone: they are characters of the system's code page (UTF-8 on Linux).
std::string TextoDaLinha(std::string texto);

}  // namespace janela
