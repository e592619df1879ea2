// The exchange of one request frame and one response frame on a connected socket.
#pragma once

#include <cstdint>

#include "comum/BF.h"
#include "platform/Socket.h"

// Sends the request (its tamanho bytes), receives the response header and its data into resposta
// (header in bytes 0..7, data from byte 8) within tOutCnf seconds (30 when not above 0), and
// returns the data length, also stored in resposta.tamanho. With temPrefixo both directions carry
// 40 bytes ahead of the header; the response's are dropped. The socket is closed on every path;
// failures throw Erro. imediato: the receive looks wait on the socket instead of sleeping.
int TrocaMensagem(plataforma::Socket socket, BF& pedido, BF& resposta, int tOutCnf, bool temPrefixo,
                  bool imediato = false);

// Receives exactly n bytes into destino in looks of 100 ms, spending one unit of orcamento per look
// that ends without them. A look is one recv and a 100 ms sleep; with imediato, 100 ms of waiting on
// the socket that ends as soon as all n bytes are in. Returns n; on failure closes the socket and
// throws Erro. tOutCnf is only for the log.
int RecebeDados(plataforma::Socket& socket, std::uint8_t* destino, int n, std::int32_t& orcamento,
                int tOutCnf, bool imediato = false);

// The receive time-out in seconds that the exchange uses: the given one, or 30 when it is not above 0,
// kept small enough for its budget of ten polls a second to fit in 32 bits.
int TempoRespostaValido(int tOutCnf);
