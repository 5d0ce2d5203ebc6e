package visualizador.conexao;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import visualizador.dados.Ambiente;

/**
 * Windows: the user's files in %APPDATA%\postgresql (.pg_service.conf, pgpass.conf), the
 * system's pg_service.conf only where %PGSYSCONFDIR% points, since the viewer has no
 * installation folder of libpq's to fall back on. Files there have no modes: the profile's
 * ACLs keep pgpass.conf private, and libpq checks nothing either.
 */
record LocaisWindows(Ambiente amb) implements Locais {

    @Override
    public List<Path> servicos() {
        final List<Path> l = new ArrayList<>();
        final String arquivo = amb.variavel("PGSERVICEFILE");
        l.add(arquivo != null ? Path.of(arquivo) : pastaDoUsuario().resolve(".pg_service.conf"));
        final String sistema = amb.variavel("PGSYSCONFDIR");
        if (sistema != null) l.add(Path.of(sistema).resolve("pg_service.conf"));
        return List.copyOf(l);
    }

    @Override
    public Path senhasPadrao() {
        return pastaDoUsuario().resolve("pgpass.conf");
    }

    @Override
    public boolean exigeSenhasPrivadas() {
        return false;
    }

    /** %APPDATA%\postgresql; without APPDATA, where Windows puts the roaming folder in the profile. */
    private Path pastaDoUsuario() {
        final String appdata = amb.variavel("APPDATA");
        return (appdata != null ? Path.of(appdata) : amb.home().resolve("AppData").resolve("Roaming"))
                .resolve("postgresql");
    }
}
