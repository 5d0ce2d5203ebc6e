package visualizador.saida;

import java.io.File;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.AccessDeniedException;
import java.nio.file.DirectoryStream;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
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
     * Puts the finished report {@code rascunho} in the documents folder as
     * "nome-yyyyMMdd-HHmmss.ext", "-2", "-3"... added when the name is taken. A hard link makes the
     * name appear at once with the whole file and fails on any existing name, link or not: nothing
     * is ever replaced nor followed. The scratch is gone afterwards.
     */
    public static Path publicar(Path rascunho, Ambiente amb, String nome, Formato formato, LocalDateTime quando)
            throws ErroRelatorio {
        final Path pasta = pastaDocumentos(amb);
        final String base = nome + "-" + CARIMBO.format(quando);
        // A spreadsheet too long for .xls was written as .xlsx: the name follows the file.
        final String extensao = formato == Formato.XLS && DestinoXls.xlsx(rascunho) ? "xlsx" : formato.extensao();
        try (Vizinho origem = Vizinho.de(rascunho, pasta, base)) {
            for (int n = 1; n <= MAX_TENTATIVAS; n++) {
                final Path arquivo = pasta.resolve(base + (n == 1 ? "" : "-" + n) + "." + extensao);
                try {
                    Files.createLink(arquivo, origem.caminho());
                    return arquivo;
                } catch (FileAlreadyExistsException e) {
                    // taken: try the next number
                } catch (AccessDeniedException e) {
                    throw e;
                } catch (FileSystemException | UnsupportedOperationException e) {
                    // A file system without hard links (FAT, some network shares): a rename, checked
                    // first; only a file created in between could still be replaced.
                    if (Files.exists(arquivo, LinkOption.NOFOLLOW_LINKS)) continue;
                    Files.move(origem.caminho(), arquivo, StandardCopyOption.ATOMIC_MOVE);
                    return arquivo;
                }
            }
        } catch (AccessDeniedException e) {
            throw new ErroRelatorio("Sem permissão para gravar o relatório na pasta " + pasta
                    + ". Libere a gravação nessa pasta ou escolha outra pasta de documentos.");
        } catch (IOException e) {
            throw new ErroRelatorio("Não foi possível criar o arquivo do relatório na pasta " + pasta + ": "
                    + e.getMessage());
        }
        throw new ErroRelatorio("Há arquivos demais chamados " + base + " na pasta " + pasta + ".");
    }

    /**
     * Replaces (or creates) {@code destino} with the finished {@code rascunho} in one rename: the
     * file the user chose is never missing nor half written.
     */
    public static void substituir(Path rascunho, Path destino) throws IOException {
        final Path alvo = destino.toAbsolutePath();
        try (Vizinho origem = Vizinho.de(rascunho, alvo.getParent(), alvo.getFileName().toString())) {
            Files.move(origem.caminho(), alvo, StandardCopyOption.ATOMIC_MOVE);
        }
    }

    /**
     * The scratch file as seen from the target folder: itself when both are on one file system,
     * else a copy under a hidden name there, made exclusively and removed on every path (a
     * killed run's copy is removed by the next publication in that folder).
     */
    private static final class Vizinho implements AutoCloseable {
        private static final String PARCIAL = ".parcial";
        private final Path rascunho;
        private final Path caminho;

        private Vizinho(Path rascunho, Path caminho) {
            this.rascunho = rascunho;
            this.caminho = caminho;
        }

        static Vizinho de(Path rascunho, Path pasta, String base) throws IOException {
            if (Files.getAttribute(rascunho, "unix:dev").equals(Files.getAttribute(pasta, "unix:dev")))
                return new Vizinho(rascunho, rascunho);
            limparCopiasMortas(pasta);
            final String marca = PastaRascunho.marca(ProcessHandle.current());
            final Path copia = pasta.resolve("." + base + "~" + marca + "~" + System.nanoTime() + PARCIAL);
            PastaRascunho.apagarAoSair(copia);
            try (OutputStream out = Files.newOutputStream(copia, StandardOpenOption.CREATE_NEW,
                    StandardOpenOption.WRITE, LinkOption.NOFOLLOW_LINKS)) {
                Files.copy(rascunho, out);
            } catch (IOException | RuntimeException e) {
                Files.deleteIfExists(copia);
                throw e;
            }
            return new Vizinho(rascunho, copia);
        }

        Path caminho() {
            return caminho;
        }

        private static void limparCopiasMortas(Path pasta) {
            try (DirectoryStream<Path> d = Files.newDirectoryStream(pasta, "*" + PARCIAL)) {
                for (Path p : d) {
                    final String n = p.getFileName().toString();
                    final String[] partes = n.substring(0, n.length() - PARCIAL.length()).split("~");
                    if (n.startsWith(".") && partes.length == 3 && !PastaRascunho.vivo(partes[1]))
                        Files.deleteIfExists(p);
                }
            } catch (IOException e) {
                // Only housekeeping.
            }
        }

        @Override
        public void close() throws IOException {
            Files.deleteIfExists(caminho);
            Files.deleteIfExists(rascunho);
        }
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

    /**
     * Opens the file with the desktop's default application. A failure only says where the file
     * is: on standard error, and returned for a dialog; null when it opened.
     */
    public static String abrir(Path arquivo) {
        return abrir(arquivo, List.of("xdg-open"), System.err);
    }

    /**
     * Runs {@code comando} with the file as its last argument (no shell) and waits a few seconds
     * for its status. Still running then means the application is up: it is left running.
     */
    static String abrir(Path arquivo, List<String> comando, PrintStream erro) {
        final List<String> linha = new ArrayList<>(comando);
        linha.add(arquivo.toString());
        final String nome = comando.get(0);
        try {
            final Process p = new ProcessBuilder(linha).redirectInput(ProcessBuilder.Redirect.from(nulo()))
                    .redirectOutput(ProcessBuilder.Redirect.DISCARD).redirectError(ProcessBuilder.Redirect.DISCARD)
                    .start();
            if (p.waitFor(ESPERA_ABRIR_S, TimeUnit.SECONDS) && p.exitValue() != 0)
                return avisar(erro, "Não foi possível abrir o relatório (" + nome + " terminou com o código "
                        + p.exitValue() + "); o arquivo está em " + arquivo);
        } catch (IOException e) {
            return avisar(erro, "Não foi possível abrir o relatório (" + nome + " não pôde ser iniciado: "
                    + e.getMessage() + "); o arquivo está em " + arquivo);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        return null;
    }

    private static String avisar(PrintStream erro, String mensagem) {
        erro.println(mensagem);
        return mensagem;
    }

    private static File nulo() {
        return new File("/dev/null");
    }
}
