// Fields that travel with one log line to the service manager's journal ("ZELP_NUMBER=00000704"),
// so that journalctl can select the line by them. The line goes to the file and the window as any
// other; a front end whose window lines are the journal sends it with its fields as one record.
#pragma once

#include <string>
#include <vector>

namespace zelp_log {

// While it lives, a line that this thread logs with the message mensagem carries the fields
// ("NAME=value" texts). Log the line inside its scope.
class LinhaComCampos {
 public:
  LinhaComCampos(const std::string& mensagem, const std::vector<std::string>& campos);
  ~LinhaComCampos();
  LinhaComCampos(const LinhaComCampos&) = delete;
  LinhaComCampos& operator=(const LinhaComCampos&) = delete;

  const std::string& Mensagem() const { return mensagem_; }
  const std::vector<std::string>& Campos() const { return campos_; }

 private:
  const std::string& mensagem_;
  const std::vector<std::string>& campos_;
  const LinhaComCampos* anterior_;
};

// For the window's sink, on the logging thread: the fields of the window line it was just given
// (the message, or the message after the space of a line with a log directory), or null when that
// line carries none.
const std::vector<std::string>* CamposDaLinha(const char* linhaJanela);

}  // namespace zelp_log
