package visualizador;

import java.awt.AWTError;
import java.awt.GraphicsEnvironment;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.LocalDateTime;
import java.util.List;
import java.util.Map;
import visualizador.dados.Ambiente;
import visualizador.dados.Cancelado;
import visualizador.dados.Conexao;
import visualizador.dados.ConexaoAntecipada;
import visualizador.dados.MotorRelatorio;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.LeitorDesign;
import visualizador.formatos.DestinoXls;
import visualizador.formatos.Destinos;
import visualizador.formatos.IntervaloPaginas;
import visualizador.formatos.RecortePdf;
import visualizador.janela.Avisos;
import visualizador.janela.DialogoParametros;
import visualizador.janela.Exportador;
import visualizador.janela.JanelaVisualizacao;
import visualizador.janela.Reexecutor;
import visualizador.janela.TrabalhoComProgresso;
import visualizador.publicacao.ArquivoSaida;
import visualizador.publicacao.PastaRascunho;

/**
 * jasperviewer.jar: runs one report and shows it (VIS) or writes it to the user's documents
 * folder and opens it (PDF, XLS, HTML). Any failure is shown in a dialog when there is a
 * display, written to standard error, and ends the program with status 1.
 */
public final class Principal {
    private final Argumentos argumentos;
    private final Ambiente ambiente;
    private final ConexaoAntecipada antecipada; // already opening, or null

    private Principal(Argumentos argumentos, Ambiente ambiente, ConexaoAntecipada antecipada) {
        this.argumentos = argumentos;
        this.ambiente = ambiente;
        this.antecipada = antecipada;
    }

    public static void main(String[] args) {
        // The libraries' diagnostics (font tables, logging set-up) are not the user's business.
        System.setProperty("org.apache.commons.logging.Log", "org.apache.commons.logging.impl.NoOpLog");
        final Ambiente ambiente = Ambiente.doProcesso();
        // A preview's connection does not wait for the display check: without a display the run
        // fails a moment later and closes it.
        final String servico = servicoDaPrevia(args);
        final ConexaoAntecipada antecipada = servico != null ? ConexaoAntecipada.abrir(servico, ambiente) : null;
        Tela.decidir(ambiente);
        System.exit(executar(args, ambiente, antecipada));
    }

    /** The service of a preview run as is, without the confirmation dialog; else null. */
    private static String servicoDaPrevia(String[] args) {
        try {
            final Argumentos a = Argumentos.analisar(args);
            return a.formato() == Formato.VIS && !a.confirmar() ? a.servico() : null;
        } catch (ErroRelatorio e) {
            return null; // reported by the run itself
        }
    }

    /** Runs the viewer; the exit status: 0 done, 1 failed or cancelled. */
    public static int executar(String[] args, Ambiente ambiente) {
        return executar(args, ambiente, null);
    }

    private static int executar(String[] args, Ambiente ambiente, ConexaoAntecipada antecipada) {
        try (antecipada) {
            new Principal(Argumentos.analisar(args), ambiente, antecipada).executar();
            return 0;
        } catch (Cancelado e) {
            System.err.println(e.getMessage());
            return 1;
        } catch (ErroRelatorio e) {
            Avisos.erro(e.getMessage());
            return 1;
        } catch (IOException | UncheckedIOException e) {
            Avisos.erro("Erro de gravação: " + e.getMessage());
            return 1;
        } catch (RuntimeException e) {
            Avisos.erro("Erro inesperado no visualizador: " + e);
            return 1;
        } catch (AWTError e) {
            // A display that went away or refused us after the check at start-up.
            System.err.println("Não foi possível usar a tela: " + e.getMessage());
            return 1;
        }
    }

    private void executar() throws ErroRelatorio, IOException {
        final boolean tela = !GraphicsEnvironment.isHeadless();
        // The preview's first page waits on the connection and on the window toolkit: both start
        // now, beside the design and the layout's fonts. A confirmation dialog comes first instead.
        try (ConexaoAntecipada conexoes = antecipada != null ? antecipada
                : argumentos.formato() == Formato.VIS && tela && !argumentos.confirmar()
                ? ConexaoAntecipada.abrir(argumentos.servico(), ambiente) : null) {
            if (conexoes != null && tela) JanelaVisualizacao.prepararTela();
            executar(tela, conexoes);
        }
    }

    private void executar(boolean tela, ConexaoAntecipada conexoes) throws ErroRelatorio, IOException {
        final Design design = LeitorDesign.lerRelatorio(argumentos.relatorio());
        List<Map.Entry<String, String>> recebidos = argumentos.parametros();
        // Checked before any dialog: a bad value is an error, not something to correct by hand.
        ValoresParametros valores = ValoresParametros.analisar(design, recebidos);
        OpcoesRelatorio opcoes = OpcoesRelatorio.PADRAO;
        IntervaloPaginas paginas = null;
        if (argumentos.confirmar()) {
            if (!tela) throw new ErroRelatorio("Sem tela para confirmar os parâmetros (S); use N.");
            final DialogoParametros.Escolha escolha = DialogoParametros.confirmar(design, recebidos, opcoes,
                    argumentos.formato());
            if (escolha == null) throw new Cancelado();
            recebidos = escolha.parametros();
            opcoes = escolha.opcoes();
            paginas = escolha.paginas();
            valores = ValoresParametros.analisar(design, recebidos);
        }
        if (argumentos.formato() == Formato.VIS && !tela)
            throw new ErroRelatorio("Sem tela (DISPLAY) para visualizar o relatório; escolha PDF, XLS, HTML ou CSV.");

        final String nome = argumentos.relatorio().getFileName().toString();
        final PastaRascunho rascunhos = PastaRascunho.doProcesso();
        ArquivoSaida.limparCopiasMortas(ambiente);
        if (argumentos.formato() == Formato.VIS) {
            // A toggle of the preview's options closes it; the report then runs again with them.
            for (OpcoesRelatorio atuais = opcoes; atuais != null; ) {
                final ValoresParametros escolhidos = valores;
                final OpcoesRelatorio estas = atuais;
                atuais = JanelaVisualizacao.mostrar(design.titulo(), nome, (destino, progresso) -> {
                    try (Conexao conexao = conexoes != null ? conexoes.obter()
                            : Conexao.abrir(argumentos.servico(), ambiente)) {
                        progresso.aoCancelar(conexao::cancelar);
                        new MotorRelatorio(conexao, design, escolhidos, estas).executar(destino, progresso);
                    } catch (java.sql.SQLException e) {
                        throw new ErroRelatorio("Erro ao fechar a conexão: " + e.getMessage(), e);
                    }
                }, reexecutor(design, valores, rascunhos).exportador(atuais),
                        new JanelaVisualizacao.Opcoes(atuais, design.campoEstoque() != null));
            }
            return;
        }
        final Path rascunho = rascunhos.novoArquivo("." + argumentos.formato().extensao());
        Path gravado = rascunho;
        try {
            gravado = gerar(design, valores, opcoes, paginas, argumentos.formato(), rascunho, tela);
            final Path arquivo = ArquivoSaida.publicar(gravado, ambiente, nome, argumentos.formato(), LocalDateTime.now());
            System.out.println(arquivo);
            final String falha = ArquivoSaida.abrir(arquivo, ambiente);
            if (falha != null && tela) Avisos.informar(falha);
        } finally {
            Files.deleteIfExists(rascunho);
            Files.deleteIfExists(gravado);
        }
    }

    /**
     * "Salvar como…" of the preview: the report run again into a scratch file, which replaces the
     * chosen file only once complete; a failure leaves the user's file as it was.
     */
    private Reexecutor reexecutor(Design design, ValoresParametros valores, PastaRascunho rascunhos) {
        return (formato, destino, opcoes, paginas) -> {
            final Path novo = rascunhos.novoArquivo("." + formato.extensao());
            Path gravado = novo;
            try {
                gravado = gerar(design, valores, opcoes, paginas, formato, novo, !GraphicsEnvironment.isHeadless());
                // A spreadsheet too long for .xls went to .xlsx: the chosen name takes that extension,
                // and a file the user did not choose is never replaced.
                final Path alvo = gravado.equals(novo) ? destino : DestinoXls.comoXlsx(destino);
                if (!alvo.equals(destino) && Files.exists(alvo))
                    throw new ErroRelatorio("O relatório é longo demais para XLS e seria gravado em " + alvo
                            + ", que já existe. Escolha outro nome.");
                ArquivoSaida.substituir(gravado, alvo);
                return alvo;
            } finally {
                Files.deleteIfExists(novo);
                Files.deleteIfExists(gravado);
            }
        };
    }

    /** Leaves only {@code paginas} in the PDF {@code arquivo} (in the private scratch folder). */
    private static void recortar(Path arquivo, IntervaloPaginas paginas) throws IOException, ErroRelatorio {
        final Path inteiro = arquivo.resolveSibling("inteiro-" + arquivo.getFileName());
        Files.move(arquivo, inteiro);
        try {
            RecortePdf.recortar(inteiro, paginas, arquivo);
        } finally {
            Files.deleteIfExists(inteiro);
        }
    }

    /** The preview's "Salvar como…" for these arguments, without the preview. */
    static Exportador exportador(String[] args, Ambiente ambiente) throws ErroRelatorio, IOException {
        final Principal p = new Principal(Argumentos.analisar(args), ambiente, null);
        final Design design = LeitorDesign.lerRelatorio(p.argumentos.relatorio());
        return p.reexecutor(design, ValoresParametros.analisar(design, p.argumentos.parametros()),
                PastaRascunho.doProcesso()).exportador(OpcoesRelatorio.PADRAO);
    }

    /**
     * Runs the report into the scratch file {@code arquivo}; a failure leaves it removed. Cancel
     * (the button, or closing the progress window) also cancels the statement running on the server.
     * The file written: {@code arquivo}, or the .xlsx beside it for an XLS too long for .xls. A PDF
     * holds only {@code paginas} when given (null: all).
     */
    private Path gerar(Design design, ValoresParametros valores, OpcoesRelatorio opcoes, IntervaloPaginas paginas,
                       Formato formato, Path arquivo, boolean tela) throws ErroRelatorio, IOException {
        final Path[] gravado = {arquivo};
        try {
            TrabalhoComProgresso.executar(tela, design.titulo(), progresso -> {
                try (Conexao conexao = Conexao.abrir(argumentos.servico(), ambiente)) {
                    progresso.aoCancelar(conexao::cancelar);
                    final MotorRelatorio motor = new MotorRelatorio(conexao, design, valores, opcoes);
                    gravado[0] = Destinos.arquivoFinal(formato, arquivo, motor);
                    try (var destino = Destinos.criar(formato, gravado[0], progresso)) {
                        motor.executar(destino, progresso);
                    }
                    if (paginas != null && formato == Formato.PDF) recortar(gravado[0], paginas);
                } catch (java.sql.SQLException e) {
                    throw new ErroRelatorio("Erro ao fechar a conexão: " + e.getMessage(), e);
                }
            });
            return gravado[0];
        } catch (ErroRelatorio | IOException | RuntimeException e) {
            Files.deleteIfExists(arquivo);
            Files.deleteIfExists(gravado[0]);
            throw e;
        }
    }
}
