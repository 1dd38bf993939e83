#include "shell/command_table.h"

#include <vector>

namespace vl {

namespace {

using L = CommandList;

std::vector<CommandSpec> buildTable() {
  return {
      // Main command list
      {"actionInstall", QStringLiteral("Instalar &módulo..."), "", QStringLiteral("Instala um novo módulo de conteúdo."), L::Main, ""},
      {"actionPagConfig", QStringLiteral("&Configurar Página..."), "", QStringLiteral("Configura a página para a impressão."), L::Main, ""},
      {"actionSendHall", QStringLiteral("\"Hall da Fama\" "), "", QStringLiteral("Envia por e-mail o arquivo do \"Hall da Fama\" dos jogos."), L::Main, ""},
      {"actionSendSugestion", QStringLiteral("Sugestão"), "", QStringLiteral("Envia uma sugestão aos autores."), L::Main, ""},
      {"actionFileProperties", QStringLiteral("&Propriedades..."), "", QStringLiteral("Mostra os módulos instalados e suas versões."), L::Main, ""},
      {"actionWorkOffline", QStringLiteral("&Trabalhar off-line"), "", QStringLiteral("Desativa os links para páginas da Internet."), L::Main, "", true},
      {"actionQuit", QStringLiteral("Sai&r"), "", QStringLiteral("Encerra o programa."), L::Main, ""},
      {"actionShowStatusBar", QStringLiteral("Barra de &status"), "", QStringLiteral("Mostra ou oculta a barra de status."), L::Main, "", true},
      {"actionShowNavBar", QStringLiteral("Barra de &navegação"), "", QStringLiteral("Mostra ou oculta a barra de navegação."), L::Main, "", true},
      {"actionShowTree", QStringLiteral("Árvore de &Conteúdo"), "", QStringLiteral("Mostra ou oculta a árvore de conteúdo e os favoritos."), L::Main, "", true},
      {"actionShowComment", QStringLiteral("&Janela de Comentário"), "", QStringLiteral("Mostra ou oculta a janela de comentário."), L::Main, "", true},
      {"actionRefresh", QStringLiteral("Atuali&zar"), "F5", QStringLiteral("Atualiza a exibição do tópico ativo."), L::Main, ""},
      {"actionShow3d", QStringLiteral("Aparência 3D"), "", QStringLiteral("Alterna entre a aparência plana e a aparência 3D."), L::Main, "", true},
      {"actionShowNacHallDaFama", QStringLiteral("&Hall da Fama Nacional"), "", QStringLiteral("Visita a página do Hall da Fama Nacional na Internet."), L::Main, ""},
      {"actionDic", QStringLiteral("&Dicionário"), "Ctrl+D", QStringLiteral("Abre o dicionário de termos de trânsito."), L::Main, ""},
      {"actionCustomize", QStringLiteral("&Personalizar..."), "", QStringLiteral("Personaliza a aparência, os sons e a fala."), L::Main, ""},
      {"actionSoundsEnabled", QStringLiteral("&Sons habilitados"), "Ctrl+S", QStringLiteral("Habilita ou desabilita os sons e a fala."), L::Main, "", true},
      {"actionVLWeb", QStringLiteral("Vialume na &Web"), "", QStringLiteral("Visita a página de Vialume na Internet."), L::Main, ""},
      {"actionAbout", QStringLiteral("&Sobre..."), "", QStringLiteral("Mostra a versão e os direitos do programa."), L::Main, "", true},
      {"actionCredits", QStringLiteral("&Créditos e Agradecimentos..."), "", QStringLiteral("Mostra os créditos e os agradecimentos."), L::Main, ""},
      {"actionNavPrior", QStringLiteral("Tópico Anterior"), "Ctrl+PgUp", QStringLiteral("Vai ao tópico anterior da árvore."), L::Main, "Nav"},
      {"actionNavNext", QStringLiteral("Tópico Seguinte"), "Ctrl+PgDown", QStringLiteral("Vai ao tópico seguinte da árvore."), L::Main, "Nav"},
      {"actionInstructions", QStringLiteral("Instruções"), "Alt+I", QStringLiteral("Mostra as instruções do jogo."), L::Main, ""},
      {"actionGame", QStringLiteral("Jogar"), "", QStringLiteral("Começa uma partida do jogo."), L::Main, ""},
      {"actionExam", QStringLiteral("Exame"), "Alt+T", QStringLiteral("Começa uma prova."), L::Main, ""},
      // Viewer command list
      {"actionBack", QStringLiteral("&Voltar"), "Alt+Left", QStringLiteral("Volta ao tópico visto anteriormente."), L::Viewer, ""},
      {"actionLocate", QStringLiteral("&Mostrar tópico"), "", QStringLiteral("Mostra o tópico ativo na árvore de conteúdo."), L::Viewer, ""},
      {"actionPrint", QStringLiteral("&Imprimir..."), "Ctrl+P", QStringLiteral("Imprime o tópico ativo."), L::Viewer, ""},
      {"actionSearch", QStringLiteral("&Localizar..."), "Ctrl+F", QStringLiteral("Localiza um texto no tópico ativo."), L::Viewer, ""},
      {"actionSearchNext", QStringLiteral("Localizar p&róxima"), "F3", QStringLiteral("Localiza a próxima ocorrência do texto."), L::Viewer, ""},
      {"actionCopySel", QStringLiteral("&Copiar"), "Ctrl+C", QStringLiteral("Copia a seleção para a área de transferência."), L::Viewer, ""},
      {"actionCopyAll", QStringLiteral("Copiar &tudo"), "", QStringLiteral("Copia todo o tópico para a área de transferência."), L::Viewer, ""},
      {"actionShowSet", QStringLiteral("C&onjunto de Sinais"), "", QStringLiteral("Mostra o conjunto de sinais da tabela."), L::Viewer, "NO_Sound"},
      {"actionSectPrior", QStringLiteral("Ir ao subtópico anterior"), "Ctrl+Up", QStringLiteral("Vai ao subtópico anterior do texto."), L::Viewer, ""},
      {"actionSectNext", QStringLiteral("Ir ao subtópico seguinte "), "Ctrl+Down", QStringLiteral("Vai ao subtópico seguinte do texto."), L::Viewer, ""},
      {"actionDefinition", QStringLiteral("&Definição..."), "", QStringLiteral("Procura a definição do texto selecionado no dicionário."), L::Viewer, ""},
      {"actionTextSize", QStringLiteral("&Alterar tamanho do texto"), "", QStringLiteral("Aumenta o tamanho do texto."), L::Viewer, ""},
      {"actionSpeech", QStringLiteral("Pronunciar"), "", QStringLiteral("Lê o tópico em voz alta."), L::Viewer, "NO_Sound"},
      {"actionAddToFavorites", QStringLiteral("Adicionar a favoritos"), "", QStringLiteral("Adiciona o tópico ativo aos favoritos."), L::Viewer, ""},
      {"actionSetReaded", QStringLiteral("Marcar como lido"), "", QStringLiteral("Marca o tópico ativo como lido."), L::Viewer, ""},
      {"actionResetReaded", QStringLiteral("Marcar como não lido"), "", QStringLiteral("Marca o tópico ativo como não lido."), L::Viewer, ""},
      {"actionDoComment", QStringLiteral("Comentar sobre este tópico"), "", QStringLiteral("Escreve um comentário sobre o tópico ativo."), L::Viewer, "NO_Sound"},
  };
}

}  // namespace

std::span<const CommandSpec> commandTable() {
  static const std::vector<CommandSpec> table = buildTable();
  return table;
}

const CommandSpec *findCommand(const QString &name) {
  for (const CommandSpec &command : commandTable())
    if (name == QLatin1String(command.name)) return &command;
  return nullptr;
}

bool commandPlaysClick(const CommandSpec &command) {
  const QLatin1String category(command.category);
  if (command.list == CommandList::Viewer) return category.isEmpty();
  return category == QLatin1String("Nav");
}

}  // namespace vl
