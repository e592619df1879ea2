// The gateway at work for the end-to-end tests: zelpd in a folder of its own with zelp.ini,
// establishment files made by zelp-estab and the exchange and log folders; requests dropped and
// answers read as a point of sale does it, and what a response of each type must hold.
#pragma once

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/DiretorioTemporario.h"
#include "apoio/Processo.h"
#include "catalogo/Catalogo.h"
#include "ferramentas_apoio.h"

// One line of a request, status or response file.
struct CampoArquivo {
  int numero = 0;
  int ocorrencia = 0;
  std::string valor;
};
using CamposArquivo = std::vector<CampoArquivo>;

// Number and occurrence of each field, in file order.
using Chaves = std::vector<std::pair<int, int>>;

// Reads a status or response file as the gateway writes it: every line "NNN-NNN = value" ended by
// CR LF. False, with the offending line in erro, when any line has another shape.
bool LeArquivoCampos(const std::string& texto, CamposArquivo& campos, std::string& erro);
Chaves ChavesDe(const CamposArquivo& campos);
// The field with this number and occurrence, or null.
const CampoArquivo* ProcuraCampo(const CamposArquivo& campos, int numero, int ocorrencia);

// A request file built field by field; 000-000 is always written first and 999-999 last.
class Pedido {
 public:
  // Every mandatory field of the catalogue type at `indice` with plausible values, field 003 =
  // valor003 where the layout has it, `repeticoes` occurrences of a repeated group (that many valid
  // cheques of one account for code 20), and 001-000 = identificador.
  static Pedido DoTipo(int indice, long long identificador, const std::string& valor003, int repeticoes);
  // Only the fields given, in this order.
  static Pedido Campos(const CamposArquivo& campos);

  // Replaces the value of the field, or adds it.
  Pedido& Define(int numero, int ocorrencia, const std::string& valor);
  Pedido& Remove(int numero, int ocorrencia);
  // Lines ended by CR LF, as the point-of-sale application writes them.
  std::string Texto() const;

 private:
  CamposArquivo campos_;
};

// The fields of a response that the gateway decoded: 000, 001, every definition of the type's
// response layout that the variant keeps (approval or refusal), `repeticoes` occurrences of each
// repeated one, 999.
Chaves ChavesResposta(const TTipoTransacao& tipo, bool aprovacao, int repeticoes);
// The fields of the gateway's error response for a transaction of this type.
Chaves ChavesRespostaErro(const TTipoTransacao& tipo);
// The definition of a field in a layout, or null.
const TLayoutCampo* Definicao(const TLayoutMensagem& layout, int numero);
// A number as a response field of this definition carries it: zero-filled to the field's digits.
std::string NumeroNoCampo(const TLayoutCampo& d, const std::string& digitos);
// A text as the host simulator sends it in a text field: left-aligned, filled with spaces.
std::string TextoNoCampo(const TLayoutCampo& d, const std::string& texto);

// The working folder of one zelpd: in/ (requests), out/ (status and responses), log/, estab/.
class Gateway {
 public:
  explicit Gateway(int largura);
  ~Gateway();
  Gateway(const Gateway&) = delete;
  Gateway& operator=(const Gateway&) = delete;

  const DiretorioTemporario& Pasta() const { return pasta_; }
  int Largura() const { return largura_; }

  // Writes estab/<nome> with zelp-estab; the message of the failure, or "" when it was made.
  std::string CriaEstabelecimento(const std::string& nome, const std::string& codigo, const std::string& chave);
  void EscreveIni(const std::string& texto) const { pasta_.Escreve("zelp.ini", texto); }

  // Starts zelpd in the folder and waits for its banner; the message of the failure, or "". comando
  // runs another gateway instead (a program and its arguments: zelpd.exe under wine), which stops
  // on the signal given.
  std::string Inicia(const std::vector<std::string>& comando = {}, int sinalParada = SIGTERM);
  bool Rodando();
  // What zelpd wrote to its standard output and error so far.
  std::string Saida() const;
  // The orderly stop with a bounded wait; a process that does not end is killed. Its exit status,
  // or -1 when it had to be killed (or never ran).
  int Para();

  // "%0*lld" at the configured width, followed by the extension.
  std::string Nome(long long identificador, const std::string& extensao) const;
  // Drops the request as <id>.ENV in in/: written under another name first, then renamed.
  void Envia(long long identificador, const std::string& texto) const;
  void Envia(long long identificador, const Pedido& pedido) const { Envia(identificador, pedido.Texto()); }
  // Waits for out/<id>.rsp; true when it came within the limit.
  bool EsperaResposta(long long identificador, std::chrono::milliseconds limite) const;
  // Waits until in/<id>.log (the claimed request) is gone: claimed, carried and cleaned up.
  bool EsperaFimDoPedido(long long identificador, std::chrono::milliseconds limite) const;
  // Contents of out/<id>.<extensao> ("" when absent).
  std::string LeSaida(long long identificador, const std::string& extensao) const;
  bool ExisteSaida(long long identificador, const std::string& extensao) const;
  bool ExisteEntrada(long long identificador, const std::string& extensao) const;

  // Every daily log file of log/, oldest name first, joined.
  std::string Log() const;
  // The names of the daily log files in log/ (not the transaction journals beside them).
  std::vector<std::string> ArquivosDeLog() const;

 private:
  DiretorioTemporario pasta_;
  int largura_;
  std::unique_ptr<Processo> zelpd_;
  int sinalParada_ = SIGTERM;
};

// The exact status file of a request.
std::string StatusEsperado(long long identificador, int largura);

// A failure when the gateway has ended or its output holds a sanitizer report.
void VerificaSaudeDoGateway(Gateway& gateway);

// The [Tempos], [Diretorios] and [Deleta] sections of a test folder: in/, out/, log/, the name
// width, the two time-outs, processed requests deleted.
std::string IniBase(int largura, int tOutCnf, int tOutCnx);
// One [EndN] section: the addresses in order (url, url1, ...) and the group's port.
std::string IniGrupo(int grupo, const std::vector<std::string>& urls, int porta);
// Makes estab/loja0.dat, loja1.dat and loja2.dat (one per parameter group) and returns the
// [PEstab] section naming them; failures are added to erro.
std::string CriaLojas(Gateway& gateway, std::string& erro);

// What one suite runs: its hosts, then its gateway (stopped first, hosts after).
struct AmbienteGateway {
  std::vector<std::unique_ptr<HostEmExecucao>> hosts;
  std::unique_ptr<Gateway> gateway;
  std::string erro;  // why it could not be prepared; empty when it runs
};

// One running gateway for every test of a suite. Suite::Prepara(AmbienteGateway&) starts the
// hosts, writes the folder and starts zelpd, and leaves in erro what went wrong. Under CTest each
// test runs in a process of its own and so gets a gateway of its own; tests never depend on
// another test's requests and use identifiers of their own.
template <typename Suite>
class ComGateway : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ambiente_ = std::make_unique<AmbienteGateway>();
    Suite::Prepara(*ambiente_);
  }
  static void TearDownTestSuite() { ambiente_.reset(); }
  void SetUp() override {
    ASSERT_TRUE(ambiente_ != nullptr && ambiente_->gateway != nullptr && ambiente_->erro.empty())
        << (ambiente_ != nullptr ? ambiente_->erro : std::string("no environment"));
  }
  void TearDown() override {
    if (ambiente_ != nullptr && ambiente_->gateway != nullptr) VerificaSaudeDoGateway(*ambiente_->gateway);
  }
  static Gateway& G() { return *ambiente_->gateway; }
  static HostEmExecucao& Host(std::size_t i) { return *ambiente_->hosts.at(i); }

  static inline std::unique_ptr<AmbienteGateway> ambiente_;
};

// How long one answer may take at most in these tests: claims are paced at 200 ms a request, a
// burst of requests waits for all the claims before it.
inline constexpr std::chrono::seconds LIMITE_RESPOSTA{40};
