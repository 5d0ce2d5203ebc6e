package visualizador.saida;

import java.io.IOException;
import java.io.File;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.LocalDateTime;
import java.time.format.DateTimeFormatter;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.Ambiente;

/** Where a written report goes (the user's documents folder) and how it is opened afterwards. */
public final class ArquivoSaida {
    private static final DateTimeFormatter CARIMBO = DateTimeFormatter.ofPattern("uuuuMMdd-HHmmss");
    private static final int MAX_TENTATIVAS = 1000;
    private static final long ESPERA_ABRIR_S = 5;

    private ArquivoSaida() {}

    /**
     * A new, empty file "nome-yyyyMMdd-HHmmss.ext" in the documents folder, "-2", "-3"... added
     * when the name is taken. Created here, atomically, so two reports started in the same
     * second never get the same file.
     */
    public static Path novo(Ambiente amb, String nome, Formato formato, LocalDateTime quando) throws ErroRelatorio {
        final Path pasta = pastaDocumentos(amb);
        final String base = nome + "-" + CARIMBO.format(quando);
        for (int n = 1; n <= MAX_TENTATIVAS; n++) {
            final Path arquivo = pasta.resolve(base + (n == 1 ? "" : "-" + n) + "." + formato.extensao());
            try {
                return Files.createFile(arquivo);
            } catch (FileAlreadyExistsException e) {
                // taken: try the next number
            } catch (AccessDeniedException e) {
                throw new ErroRelatorio("Sem permissão para gravar o relatório na pasta " + pasta
                        + ". Libere a gravação nessa pasta ou escolha outra pasta de documentos.");
            } catch (IOException e) {
                throw new ErroRelatorio("Não foi possível criar o arquivo do relatório na pasta " + pasta + ": "
                        + e.getMessage());
            }
        }
        throw new ErroRelatorio("Há arquivos demais chamados " + base + " na pasta " + pasta + ".");
    }

    /**
     * The desktop's documents folder (XDG_DOCUMENTS_DIR in user-dirs.dirs, as the desktop keeps
     * it); the home folder when none is set or it names no existing folder.
     */
    static Path pastaDocumentos(Ambiente amb) {
        final String config = amb.variavel("XDG_CONFIG_HOME");
        final Path pastaConfig = config != null && Path.of(config).isAbsolute() ? Path.of(config)
                : amb.home().resolve(".config");
        final List<String> linhas;
        try {
            linhas = Files.readAllLines(pastaConfig.resolve("user-dirs.dirs"), StandardCharsets.UTF_8);
        } catch (IOException e) {
            return amb.home();
        }
        Path pasta = null;
        for (String linha : linhas) {
            final String l = linha.strip();
            if (!l.startsWith("XDG_DOCUMENTS_DIR=")) continue;
            pasta = caminho(l.substring(l.indexOf('=') + 1).strip(), amb.home());
        }
        return pasta != null && Files.isDirectory(pasta) ? pasta : amb.home();
    }

    /** "$HOME/Documentos" or an absolute path, in double quotes; anything else is null. */
    private static Path caminho(String valor, Path home) {
        if (valor.length() < 2 || !valor.startsWith("\"") || !valor.endsWith("\"")) return null;
        final StringBuilder s = new StringBuilder();
        final String dentro = valor.substring(1, valor.length() - 1);
        for (int i = 0; i < dentro.length(); i++) {
            final char c = dentro.charAt(i);
            if (c == '\\' && i + 1 < dentro.length()) s.append(dentro.charAt(++i));
            else s.append(c);
        }
        final String texto = s.toString();
        if (texto.equals("$HOME")) return home;
        if (texto.startsWith("$HOME/")) return home.resolve(texto.substring("$HOME/".length()));
        return texto.startsWith("/") ? Path.of(texto) : null;
    }

    /** Opens the file with the desktop's default application; a failure only says where the file is. */
    public static void abrir(Path arquivo) {
        abrir(arquivo, List.of("xdg-open"), System.err);
    }

    /**
     * Runs {@code comando} with the file as its last argument (no shell) and waits a few seconds
     * for its status. Still running then means the application is up: it is left running.
     */
    static void abrir(Path arquivo, List<String> comando, PrintStream erro) {
        final List<String> linha = new ArrayList<>(comando);
        linha.add(arquivo.toString());
        final String nome = comando.get(0);
        try {
            final Process p = new ProcessBuilder(linha).redirectInput(ProcessBuilder.Redirect.from(nulo()))
                    .redirectOutput(ProcessBuilder.Redirect.DISCARD).redirectError(ProcessBuilder.Redirect.DISCARD)
                    .start();
            if (p.waitFor(ESPERA_ABRIR_S, TimeUnit.SECONDS) && p.exitValue() != 0)
                erro.println("Não foi possível abrir o relatório (" + nome + " terminou com o código " + p.exitValue()
                        + "); o arquivo está em " + arquivo);
        } catch (IOException e) {
            erro.println("Não foi possível abrir o relatório (" + nome + " não pôde ser iniciado: " + e.getMessage()
                    + "); o arquivo está em " + arquivo);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    private static File nulo() {
        return new File("/dev/null");
    }
}
