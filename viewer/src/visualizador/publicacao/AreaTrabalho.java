package visualizador.publicacao;

import java.io.IOException;
import java.io.PrintStream;
import java.nio.file.Path;
import visualizador.dados.Ambiente;

/** What the desktop decides for a published report: its folder, how a name is taken, how it opens. */
interface AreaTrabalho {

    static AreaTrabalho de(Ambiente amb) {
        return amb.windows() ? new AreaTrabalhoWindows(amb) : new AreaTrabalhoPosix(amb);
    }

    /** The user's documents folder; the home folder when there is none. */
    Path pastaDocumentos();

    /**
     * Gives {@code origem} the name {@code destino} in the same folder, for a file system without
     * hard links; FileAlreadyExistsException when the name is in use.
     */
    void renomearSemSubstituir(Path origem, Path destino) throws IOException;

    /**
     * Opens the file with the desktop's default application. A failure only says where the file
     * is: on {@code erro}, and returned for a dialog; null when it opened.
     */
    String abrir(Path arquivo, PrintStream erro);
}
