// The name rule of request files: exactly W decimal digits and ".env" in any letter case.
#pragma once

// True when nome is W digits followed by ".env" (any case).
bool NomePedidoValido(const char* nome, int largura);

// Checks a listed request; a wrongly named file is logged and deleted (caminho is its full path)
// and the answer is false. Throws Err "\n*** Nao foi possível deletar!" when it cannot be deleted.
bool VerificaNome(const char* nome, const char* caminho, int largura);
