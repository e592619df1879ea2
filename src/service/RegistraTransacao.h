// The record of one finished transaction: a line of the day's transaction journal, the same record
// as fields of the service manager's journal.
#pragma once

#include "fields/TG.h"
#include "log/DiarioTransacoes.h"
#include "service/Momento.h"

// Takes from the request, as read, what the journal shows of it: its number (at the width of the file
// names), header, transaction code and amount (003-000). No other request field.
void AnotaPedido(zelp_log::RegistroTransacao& registro, const TG& pedido);
// Takes from the answer as published its response code (009-000) and text (030-000, without the
// blanks that pad it).
void AnotaResposta(zelp_log::RegistroTransacao& registro, const TG& resposta);
// The outcome of an answer that was published: unknown-type without a catalogue type, error for the
// gateway's own error response, approved for 009 = 00 from the host, refused for any other.
zelp_log::Desfecho DesfechoDaResposta(const TG& resposta, bool respostaDeErro);

// Closes the record now (its end, and the time since the claim), appends it to the day's journal and
// sends it to the service manager's journal as fields, with the message "Pedido <number> encerrado em
// <ms> ms: codigo <code>, resposta <009>, resultado <outcome>" (code and response only when there
// are). Never throws.
void RegistraTransacao(zelp_log::RegistroTransacao& registro, zelp_log::Desfecho desfecho,
                       const Momento& reivindicado);
