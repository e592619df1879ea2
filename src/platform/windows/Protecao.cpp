// Process protection, memory wiping and others' access on Windows: no error report (and no dump of
// it) written of the gateway by Windows Error Reporting, and the access list of a file read for
// what every user of the machine may do with it.
#include "platform/Protecao.h"

#include <memory>

#include "platform/windows/SistemaWindows.h"

#include <aclapi.h>

namespace plataforma {

bool ProtegeProcesso(bool depuravel, int& erro) {
  erro = 0;
  if (depuravel) return true;
  // Windows Error Reporting is not invoked for a fault of this process, so neither a report nor a
  // dump of it under the machine's LocalDumps setting holds its memory; no dialog waits at a till
  // either. Child processes keep the mode. It cannot fail.
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  return true;
}

void ApagaMemoria(void* dados, std::size_t tamanho) noexcept {
  if (dados != nullptr && tamanho > 0) ::SecureZeroMemory(dados, tamanho);
}

namespace {

// The groups every ordinary user of the machine belongs to.
constexpr WELL_KNOWN_SID_TYPE TODOS[] = {WinWorldSid, WinAuthenticatedUserSid, WinBuiltinUsersSid};

bool DeTodos(PSID sid) {
  for (const WELL_KNOWN_SID_TYPE tipo : TODOS) {
    BYTE conhecido[SECURITY_MAX_SID_SIZE];
    DWORD tamanho = sizeof conhecido;
    if (::CreateWellKnownSid(tipo, nullptr, conhecido, &tamanho) && ::EqualSid(sid, conhecido)) return true;
  }
  return false;
}

// What an access list grants a user who is in those groups only, its entries taken in order as the
// system takes them: a right denied before it is granted stays denied.
ACCESS_MASK DireitosDeTodos(const ACL* lista) {
  // No list at all grants everyone everything.
  if (lista == nullptr) return FILE_ALL_ACCESS;
  GENERIC_MAPPING genericos{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
  ACCESS_MASK permitido = 0;
  ACCESS_MASK negado = 0;
  for (DWORD i = 0; i < lista->AceCount; ++i) {
    void* entrada = nullptr;
    if (!::GetAce(const_cast<ACL*>(lista), i, &entrada)) break;
    const auto* cabecalho = static_cast<const ACE_HEADER*>(entrada);
    // Entries that only pass on to what the folder will hold say nothing of the folder itself.
    if (cabecalho->AceFlags & INHERIT_ONLY_ACE) continue;
    const bool nega = cabecalho->AceType == ACCESS_DENIED_ACE_TYPE;
    if (!nega && cabecalho->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    // Both kinds share one layout: the header, the mask, the SID.
    auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entrada);
    if (!DeTodos(&ace->SidStart)) continue;
    ACCESS_MASK mascara = ace->Mask;
    ::MapGenericMask(&mascara, &genericos);
    if (nega) {
      negado |= mascara & ~permitido;
    } else {
      permitido |= mascara & ~negado;
    }
  }
  return permitido;
}

}  // namespace

bool ConsultaAcessoDeOutros(const char* caminho, AcessoDeOutros& acesso) {
  if (caminho == nullptr) return false;
  PACL lista = nullptr;
  PSECURITY_DESCRIPTOR descritor = nullptr;
  if (::GetNamedSecurityInfoA(caminho, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &lista, nullptr,
                              &descritor) != ERROR_SUCCESS) {
    return false;
  }
  const std::unique_ptr<void, HLOCAL (*)(HLOCAL)> libera(descritor, &::LocalFree);
  const ACCESS_MASK direitos = DireitosDeTodos(lista);
  // A folder's FILE_ADD_FILE is a file's FILE_WRITE_DATA: one bit says both.
  acesso.leitura = (direitos & FILE_READ_DATA) != 0;
  acesso.escrita = (direitos & (FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0;
  return true;
}

}  // namespace plataforma
