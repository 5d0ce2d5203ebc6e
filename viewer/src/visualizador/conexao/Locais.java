package visualizador.conexao;

import java.nio.file.Path;
import java.util.List;
import visualizador.dados.Ambiente;

/**
 * Where libpq looks for the service files and the password file on this kind of desktop.
 * PGSERVICEFILE, PGSYSCONFDIR and PGPASSFILE mean the same on both.
 */
sealed interface Locais permits LocaisPosix, LocaisWindows {

    static Locais de(Ambiente amb) {
        return amb.windows() ? new LocaisWindows(amb) : new LocaisPosix(amb);
    }

    /** The service files in the order they are read: the first one holding the service wins. */
    List<Path> servicos();

    /** The password file when neither the service's passfile nor PGPASSFILE names one. */
    Path senhasPadrao();

    /** Whether a password file others may read is refused, as libpq does where files have modes. */
    boolean exigeSenhasPrivadas();
}
