package visualizador.publicacao;

import java.io.File;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import visualizador.dados.Ambiente;

/** A freedesktop desktop: XDG user folders, xdg-open. */
final class AreaTrabalhoPosix implements AreaTrabalho {
    private static final long ESPERA_ABRIR_S = 5;
    private final Ambiente amb;
    private final List<String> abridor;

    AreaTrabalhoPosix(Ambiente amb) {
        this(amb, List.of("xdg-open"));
    }

    /** {@code abridor}: the command that opens a file, given as its last argument. */
    AreaTrabalhoPosix(Ambiente amb, List<String> abridor) {
        this.amb = amb;
        this.abridor = abridor;
    }

    /**
     * XDG_DOCUMENTS_DIR in user-dirs.dirs, as the desktop keeps it; the home folder when none is
     * set or it names no existing folder.
     */
    @Override
    public Path pastaDocumentos() {
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

    /** rename(2) replaces, so the name is checked first: only a file created in between could be lost. */
    @Override
    public void renomearSemSubstituir(Path origem, Path destino) throws IOException {
        if (Files.exists(destino, LinkOption.NOFOLLOW_LINKS)) throw new FileAlreadyExistsException(destino.toString());
        Files.move(origem, destino, StandardCopyOption.ATOMIC_MOVE);
    }

    /**
     * Runs the opener with the file as its last argument (no shell) and waits a few seconds for
     * its status. Still running then means the application is up: it is left running.
     */
    @Override
    public String abrir(Path arquivo, PrintStream erro) {
        final List<String> linha = new ArrayList<>(abridor);
        linha.add(arquivo.toString());
        final String nome = abridor.get(0);
        try {
            final Process p = new ProcessBuilder(linha).redirectInput(ProcessBuilder.Redirect.from(new File("/dev/null")))
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
}
