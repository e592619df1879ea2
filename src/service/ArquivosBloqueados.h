// The table of request files whose claim failed or was held back (the point of sale still writes
// them): retried at a measured pace, and a fatal error when they pile up or never come free.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class ArquivosBloqueados {
 public:
  static constexpr int MAX_BLOQUEADOS = 10;
  static constexpr std::uint32_t INTERVALO_RETENTATIVA = 100;  // ms between two tries of one file
  static constexpr std::int32_t MAX_TENTATIVAS = 600;
  static constexpr std::uint32_t TEMPO_ESTAVEL = 1000;  // ms a file must stay unchanged, see Estavel

  // What a file looked like at one try: its size and its last-write time.
  struct Aspecto {
    std::uint64_t tamanho = 0;
    std::uint64_t hora = 0;
    bool operator==(const Aspecto&) const = default;
  };

  // Empties every slot.
  void Limpa();

  // Slot holding exactly this name (case counts), or -1.
  int Procura(const std::string& nome) const;

  // Whether slot i may be tried again at tick agora; when it may, the try is counted. Throws Err
  // "*** Erro Arquivo bloqueado![1]" once a file has been retried more than MAX_TENTATIVAS times.
  bool RetentativaDevida(int i, std::uint32_t agora);

  // Puts a name in the first free slot, last try = agora; the slot. Throws Err
  // "*** Erro Arquivo bloqueado![2]" when all slots are taken.
  int Adiciona(const std::string& nome, std::uint32_t agora);

  // Frees slot i (ignored when i is not a slot number).
  void Remove(int i);

  // Where nothing else tells whether a writer is done: true once slot i's file has shown the same
  // aspect at tries at least TEMPO_ESTAVEL ms apart (a new aspect starts the count again at agora).
  bool Estavel(int i, const Aspecto& aspecto, std::uint32_t agora);

  int Quantidade() const { return quantidade_; }
  const std::string& Nome(int i) const { return slots_.at(static_cast<std::size_t>(i)).nome; }
  std::int32_t Tentativas(int i) const { return slots_.at(static_cast<std::size_t>(i)).tentativas; }

 private:
  struct Slot {
    std::string nome;  // empty: free
    std::uint32_t ultimaTentativa = 0;
    std::int32_t tentativas = 0;
    Aspecto aspecto;
    std::uint32_t aspectoDesde = 0;
    bool temAspecto = false;
  };
  std::array<Slot, MAX_BLOQUEADOS> slots_{};
  int quantidade_ = 0;
};
