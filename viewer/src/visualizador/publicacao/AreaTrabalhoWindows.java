package visualizador.publicacao;

import java.awt.Desktop;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.Path;
import visualizador.dados.Ambiente;

/**
 * A Windows desktop. The documents folder is "%USERPROFILE%\Documents": Java cannot ask the shell
 * for the known folder, so one redirected elsewhere (to a server or OneDrive) is not followed.
 */
final class AreaTrabalhoWindows implements AreaTrabalho {
    /** Opens a file as Explorer does (ShellExecute): no command interpreter sees its name. */
    interface Abridor {
        void abrir(Path arquivo) throws IOException;
    }

    private final Ambiente amb;
    private final Abridor abridor;

    AreaTrabalhoWindows(Ambiente amb) {
        this(amb, AreaTrabalhoWindows::abrirNoDesktop);
    }

    AreaTrabalhoWindows(Ambiente amb, Abridor abridor) {
        this.amb = amb;
        this.abridor = abridor;
    }

    @Override
    public Path pastaDocumentos() {
        final Path pasta = amb.home().resolve("Documents");
        return Files.isDirectory(pasta) ? pasta : amb.home();
    }

    /** A move without REPLACE_EXISTING is MoveFileEx without its replace flag: a name in use is refused. */
    @Override
    public void renomearSemSubstituir(Path origem, Path destino) throws IOException {
        Files.move(origem, destino);
    }

    @Override
    public String abrir(Path arquivo, PrintStream erro) {
        try {
            abridor.abrir(arquivo);
            return null;
        } catch (IOException | RuntimeException e) {
            final String m = "Não foi possível abrir o relatório (" + e.getMessage() + "); o arquivo está em " + arquivo;
            erro.println(m);
            return m;
        }
    }

    private static void abrirNoDesktop(Path arquivo) throws IOException {
        if (!Desktop.isDesktopSupported() || !Desktop.getDesktop().isSupported(Desktop.Action.OPEN))
            throw new IOException("nenhum programa associado pôde ser chamado");
        Desktop.getDesktop().open(arquivo.toFile());
    }
}
