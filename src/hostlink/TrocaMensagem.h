// The exchange of one request frame and one response frame on a connected socket.
#pragma once

#include <cstdint>

#include "comum/BF.h"
#include "platform/Socket.h"

// Sends the request (its tamanho bytes), receives the response header and its data into resposta
// (header in bytes 0..7, data from byte 8) within tOutCnf seconds (30 when not above 0), and
// returns the data length, also stored in resposta.tamanho. With temPrefixo both directions carry
// 40 bytes ahead of the header; the response's are dropped. The socket is closed on every path;
// failures throw Erro.
int TrocaMensagem(plataforma::Socket socket, BF& pedido, BF& resposta, int tOutCnf, bool temPrefixo);

// Receives exactly n bytes into destino, polling every 100 ms and spending one unit of orcamento
// per poll. Returns n; on failure closes the socket and throws Erro. tOutCnf is only for the log.
int RecebeDados(plataforma::Socket& socket, std::uint8_t* destino, int n, std::int32_t& orcamento,
                int tOutCnf);

// The receive time-out in seconds that the exchange uses: the given one, or 30 when it is not above 0,
// kept small enough for its budget of ten polls a second to fit in 32 bits.
int TempoRespostaValido(int tOutCnf);
