// One service per exchange folder: the service claims from its input directory only while it holds
// that directory's lock, so a second gateway started on the same folders claims nothing there.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Arquivos.h"

class TravaEntrada {
 public:
  // Called once, the first time the directory is found served by another process (dirEntrada).
  using AvisoOcupada = std::function<void(const std::string& dirEntrada)>;
  explicit TravaEntrada(AvisoOcupada aviso = nullptr) : aviso_(std::move(aviso)) {}

  // Service thread, once per pass: true when this service may claim from dirEntrada now. Takes the
  // directory's lock when it does not hold it yet (and again after a reload names another directory
  // or the directory was made anew). A directory served by another process gives false: logged once
  // when that begins and once when this service takes over. A lock that cannot be taken for another
  // reason (a missing directory, a file system without locks) does not stop the claims.
  bool Garante(const std::string& dirEntrada);

  // The lock held now (or none), for the workers of this service to keep while they run: the
  // directory stays this process's until its requests in flight have ended.
  std::shared_ptr<const void> Posse() const { return trava_; }

 private:
  AvisoOcupada aviso_;
  std::shared_ptr<plataforma::TravaDiretorio> trava_;
  std::string dir_;
  bool ocupada_ = false;      // refused last time: logged, waiting for the other service to end
  bool avisou_ = false;       // the caller's notice was given
  bool semTrava_ = false;     // no lock could be taken on dir_ for another reason: logged once
};
